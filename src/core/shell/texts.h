#pragma once

// Every entry of the language shell the program uses, by name. Code looks texts up only through
// these names, never by a bare number, and the shipped-shell test reads this file to check that
// both shells hold every entry named here; so a text the program uses cannot be missing from a
// shell. A new text gets its name here first.

namespace kov {

// A shell list (LanguageShell::list_item) and how many of its items the program uses.
struct ShellList {
    int number;
    int items;
};

// Texts: strings of up to 255 characters (LanguageShell::text).
namespace txt {

// Words and pieces used in several places.
inline constexpr int And = 0;              // "and", trimmed, joining two limits of a range text
inline constexpr int Start = 2;            // start button "START", trimmed
inline constexpr int Running = 398;        // the start button while a run is in progress
inline constexpr int Exit = 73;            // button "EXIT"
inline constexpr int Next = 78;            // button "Next"
inline constexpr int TaskCode = 491;       // "Task code"
inline constexpr int TaskName = 195;       // "Task name"
inline constexpr int VariantsNumber = 474; // "Number of investment variants"

// Main window: its caption and menu.
inline constexpr int MainCaption = 272;
inline constexpr int MenuInput = 40;
inline constexpr int MenuNewTask = 42;
inline constexpr int MenuNewTaskByImport = 43;
inline constexpr int MenuCorrectTask = 163;
inline constexpr int MenuExit = 72;
inline constexpr int MenuControl = 469;
inline constexpr int MenuProtocol = 400;
inline constexpr int MenuSolving = 409;
inline constexpr int MenuOptimisation = 71;
inline constexpr int MenuOutput = 69;
inline constexpr int MenuViewTask = 390;
inline constexpr int MenuViewSolution = 391;
inline constexpr int MenuExportTask = 494;
inline constexpr int MenuPrintTask = 337;
inline constexpr int MenuStatistics = 435;
inline constexpr int MenuCreateStatistics = 425;
inline constexpr int MenuViewStatistics = 393;
inline constexpr int MenuExportStatistics = 495;
inline constexpr int MenuPrintStatistics = 338;
inline constexpr int MenuDatabases = 399;
inline constexpr int MenuNewDatabase = 423; // trimmed
inline constexpr int MenuNewDatabaseByImport = 422;
inline constexpr int MenuCorrectDatabase = 162; // trimmed
inline constexpr int MenuViewDatabase = 388;
inline constexpr int MenuExportDatabase = 493;
inline constexpr int MenuDeleteDatabase = 466; // trimmed
inline constexpr int MenuHelp = 347;
inline constexpr int AboutSystem = 270;    // menu (trimmed) and about window caption
inline constexpr int AboutDeveloper = 268; // menu and about window caption

// Start-up: regional settings, protocol file, a second copy, file errors.
inline constexpr int NoRegionalSettings = 320;    // warning, followed by "..."
inline constexpr int ProtocolMissing = 202;       // warning: a new protocol is created
inline constexpr int ProtocolNotWritable = 205;   // error
inline constexpr int ProtocolNotRecognised = 321; // error: replaced by an empty protocol
inline constexpr int ProtocolDamagedKept = 532;   // information: kept as the named file
inline constexpr int AlreadyRunning = 529;        // error: a second copy on the Workspace
inline constexpr int FileDamaged = 530;           // followed by the file and what is wrong
inline constexpr int FileNotWritten = 531;
inline constexpr int FileNotRead = 533;
inline constexpr int WorkStopped = 534; // error: the work stopped on an unexpected error

// Printed reports.
inline constexpr int ReportTaskTitle = 50;        // followed by a blank and the quoted name
inline constexpr int ReportSolutionTitle = 407;   // followed by a blank and the quoted name
inline constexpr int ReportStatisticsTitle = 437; // followed by the quoted name
inline constexpr int ReportWrittenAsPdf = 540;    // information: no printer, the PDF named
inline constexpr int ReportNotPrinted = 541;      // error: the printer failed

// List of databases: a file whose name does not match its code.
inline constexpr int DatabaseFile = 144;
inline constexpr int NameDoesNotMatchCode = 473;
inline constexpr int FileShouldBeNamed = 334;

// Protocol window.
inline constexpr int ProtocolCaption = 395;
inline constexpr int DeleteTaskButton = 467;
inline constexpr int QueueInputButton = 70;
inline constexpr int TakeBackSolutionButton = 113;
inline constexpr int CloseButton = 129;
inline constexpr int StateKey = 5;
inline constexpr int StateEntered = 497; // trimmed
inline constexpr int StateQueued = 289;
inline constexpr int StateSolved = 128;
inline constexpr int EnteredKey = 83;
inline constexpr int ChangedKey = 82;
inline constexpr int QueuedKey = 85;
inline constexpr int SolvedKey = 81;
inline constexpr int DatabaseCorrected = 351; // information
inline constexpr int DeleteTaskQuestion = 53;

// Task wizard: the checks of the task-building rules.
inline constexpr int ForTaskType = 496;
inline constexpr int NoUsableObjects = 200;
inline constexpr int NoObjectMeetsRestrictions = 201;
inline constexpr int TaskCannotBeDefined = 79;
inline constexpr int NoObjectSelected = 197;
inline constexpr int TickNotPositive = 511;
inline constexpr int TooManyPhaseStates = 417;
inline constexpr int PhaseStatesWord = 92; // after the limit 20000
inline constexpr int EnlargeTheTick = 512;
inline constexpr int PaybackBelowTickMode1 = 234;
inline constexpr int PaybackAdviceMode1 = 513;
inline constexpr int PaybackBelowTickMode2 = 233;
inline constexpr int PaybackAdviceMode2 = 488;
inline constexpr int ObjectLimit = 124;
inline constexpr int LimitNotLessThanObjects = 19;

// Optimisation window: its steps.
inline constexpr int OptimCaption = 190;
inline constexpr int ChooseMode = 505;
inline constexpr int Batch = 323;
inline constexpr int Individual = 149;
inline constexpr int EnterTaskToSolve = 38;
inline constexpr int TaskToSolve = 492;
inline constexpr int EnterParameters = 503;
inline constexpr int OmegaPrompt = 290;
inline constexpr int ThresholdPrompt = 152;
inline constexpr int CheckEveryPrompt = 169;
inline constexpr int MaxCyclesPrompt = 171;
inline constexpr int OmegaOutOfRange = 215;
inline constexpr int ThresholdOutOfRange = 214;
inline constexpr int CheckEveryOutOfRange = 418;
inline constexpr int MaxCyclesOutOfRange = 419;
inline constexpr int SchemeParametersHeading = 330;
inline constexpr int Reset = 411;
inline constexpr int BatchImpossible = 12;
inline constexpr int NoQueuedInputFiles = 383;
inline constexpr int TaskCannotBeSolved = 504;
inline constexpr int NoInputFile = 382;
inline constexpr int InfoFileNotFound = 319;
inline constexpr int NoInformation = 459;

// Optimisation: the lines of a run.
inline constexpr int StartOfSolving = 196;
inline constexpr int TimeLabel = 47;
inline constexpr int DateLabel = 80;
inline constexpr int InputRead = 108; // trimmed
inline constexpr int StatesNumberedFor = 109;
inline constexpr int AfterVariantStates = 76;
inline constexpr int TransitionsBuiltFor = 110;
inline constexpr int AfterVariant = 74; // may be empty where the language needs no ending
inline constexpr int IterationFinishedFor = 112;
inline constexpr int ConvergenceReached = 298;
inline constexpr int IterationCycles = 506;
inline constexpr int MaximumAbsoluteIncome = 172;
inline constexpr int MaximumRelativeIncome = 173;
inline constexpr int PlanFoundFor = 111;
inline constexpr int SolutionWritten = 107;
inline constexpr int Covering = 426;
inline constexpr int InvestmentVariants = 125;
inline constexpr int DurationOfSolving = 88;
inline constexpr int MessagePrefix = 126;
inline constexpr int WrongOmega = 375;
inline constexpr int WrongThreshold = 374;
inline constexpr int WrongCheckEvery = 373;
inline constexpr int WrongMaxCycles = 376;
inline constexpr int PhaseStatesFor = 384;
inline constexpr int AfterVariantPhaseStates = 75;
inline constexpr int OptimisationOf = 14;
inline constexpr int IterationLimitReached = 372;

// Statistics creation.
inline constexpr int StatCaption = 191;
inline constexpr int EnterSolvedTask = 39;
inline constexpr int TrialsPrompt = 121;
inline constexpr int ModellingRunning = 140;
inline constexpr int CodeIncomplete = 203;
inline constexpr int TrialsOutOfRange = 240;
inline constexpr int TheTask = 204;
inline constexpr int HasNoInputData = 21;
inline constexpr int IsNotSolved = 22;
inline constexpr int ForTheTask = 91;
inline constexpr int StatisticsNotProvided = 424;
inline constexpr int StatisticsExist = 436;
inline constexpr int ComputedWithTrials = 447;
inline constexpr int ReplaceThem = 500;
inline constexpr int StatisticsOfTask = 501;
inline constexpr int AreCreated = 470; // trimmed

} // namespace txt

// Short texts: strings of up to 15 characters (LanguageShell::short_text).
namespace short_txt {

inline constexpr int TimeUnit = 3;
inline constexpr int MoneyUnit = 6;
inline constexpr int CheckEvery = 14; // КР
inline constexpr int Threshold = 15;  // КО
inline constexpr int MaxCycles = 17;  // ЛЧИ
inline constexpr int Objects = 23;
inline constexpr int Omega = 28; // ОКР

} // namespace short_txt

// Lists (LanguageShell::list_item), each used from item 0 on; their items are joined without a
// separator.
namespace txt_list {

// The about windows' labels, by the label each list fills.
inline constexpr ShellList AboutLabel11{0, 6};
inline constexpr ShellList AboutLabel12{1, 2};
inline constexpr ShellList AboutLabel13{2, 4};
inline constexpr ShellList AboutLabel14{3, 1};
inline constexpr ShellList AboutLabel15{4, 1};
inline constexpr ShellList AboutDeveloperLabel2{5, 2};

} // namespace txt_list

} // namespace kov
