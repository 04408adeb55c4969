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
// The word "or" inside a fixed range text.
inline constexpr int Or = 143;
// The word "of" in the step counter "(Step n of 8)".
inline constexpr int Of = 142;
// The word "Step", trimmed, in the step counter.
inline constexpr int Step = 489;
// "characters", trimmed, in a length limit "(<=255 ...)".
inline constexpr int Characters = 130;
// "of the object", after a variant number.
inline constexpr int OfTheObject = 189;
// "no" (also "none" where a limit is absent).
inline constexpr int No = 253;
// Button "Cancel".
inline constexpr int Cancel = 299;
// Button "Next" of the task wizard.
inline constexpr int Forward = 46;
// Button "Back".
inline constexpr int Back = 192;
// Column title "Value" of a key/value list.
inline constexpr int Value = 131;
// "Parameters": key column title and first worksheet name.
inline constexpr int Parameters = 324;
// Check-box caption "all": tick or clear every box.
inline constexpr int All = 49;

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
inline constexpr int WorkStopped = 534;   // error: the work stopped on an unexpected error
inline constexpr int FileNotOpened = 535; // information: no application opened the named file

// The certificate of optimality and "why this plan" of the solution viewer.
inline constexpr int WhyTab = 550;       // tab caption
inline constexpr int ProofOptimal = 551; // a variant whose plan is the best
inline constexpr int ProofGap = 552;     // followed by the gap in money and per cent
inline constexpr int ProofHeading = 553; // followed by ":" and the variants' certificates
inline constexpr int WhyCompute = 554;   // button
inline constexpr int WhyWorking = 555;   // the progress dialog's label
inline constexpr int ProofInPlan = 556;  // column: the object is in the plan
inline constexpr int ProofChange = 557;  // column: the change of the revenue, with its unit
inline constexpr int ProofNever = 558;   // no rise makes the object enter
inline constexpr int WhyNote = 559;      // how the thresholds are found

// Workbooks: exports and the task wizard's import.
inline constexpr int ExportFailed = 322;    // error, followed by "..."
inline constexpr int WorkbookImported = 68; // the wizard's label, followed by ":"
inline constexpr int DatabaseExists = 536;  // warning: a new database would take an existing code
inline constexpr int FileNotDeleted = 537;  // error, followed by the file

// Databases by hand: the selection dialog and the database wizard.
inline constexpr int SelectDatabase = 427; // the selection dialog's title
inline constexpr int CancelButton = 299;
inline constexpr int DeleteDatabase = 52; // question, followed by the code in quotes
inline constexpr int NumberOfObjects = 273;

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

// Database wizard: its titles, units and memo captions, and the checks of its pages.

// Time unit "days", trimmed, an item of the time-unit list.
inline constexpr int Days = 97;
// Time unit "months", an item of the time-unit list.
inline constexpr int Months = 183;
// Memo caption "Description of object", trimmed, before a number.
inline constexpr int ObjectDescriptionMemo = 296;
// Memo caption "Description of modernisation variant", before a number.
inline constexpr int VariantDescriptionMemo = 295;
// Ending of the variant-grid warnings, after the quoted column name.
inline constexpr int CheckTheColumn = 20;
// Warning: every object is marked for deletion.
inline constexpr int AllObjectsMarkedForDeletion = 23;
// "At least one object must remain", after AllObjectsMarkedForDeletion.
inline constexpr int OneObjectMustRemain = 420;
// Start of the confirmation before dropping the rows marked for deletion.
inline constexpr int ReallyDelete = 51;
// End of the deletion confirmation.
inline constexpr int ObjectsMarkedForDeletion = 104;
// Warning: wrong point count of the delay curve of a single variant.
inline constexpr int SingleVariantCurvePoints = 219;
// Warning: wrong point count of the delay curve of several variants.
inline constexpr int SeveralVariantsCurvePoints = 220;
// "Expected", the common start of the amount column headings.
inline constexpr int Expected = 281;
// End of the "description missing" warnings.
inline constexpr int DescriptionNotFilled = 305;
// Start of the warning that a variant description is empty.
inline constexpr int VariantDescriptionField = 311;
// Start of the warning that an object description is empty.
inline constexpr int ObjectDescriptionField = 312;
// Warning: a distribution function value above 1.
inline constexpr int ProbabilityAboveOne = 412;
// Warning: too many objects.
inline constexpr int TooManyObjects = 415;
// Database wizard title in correction mode.
inline constexpr int CorrectDatabaseTitle = 161;
// Database wizard title in view mode.
inline constexpr int ViewDatabaseTitle = 387;
// Database wizard title for a new database.
inline constexpr int NewDatabaseTitle = 421;
// Warning: the code must have 3 (type A) or 6 (type B) digits.
inline constexpr int DatabaseCodeDigits = 507;
// "Enter the name of the database": prompt and warning.
inline constexpr int EnterDatabaseName = 29;
// Warning: the number of objects must not be 0.
inline constexpr int ObjectsNumberZero = 223;
// Warning: the object code is not entered.
inline constexpr int ObjectCodeEmpty = 310;
// Warning: the object code must have 6 digits.
inline constexpr int ObjectCodeDigits = 252;
// Warning: the cost of the object is not entered.
inline constexpr int ObjectCostEmpty = 314;
// Warning: the cost of the object is not a number.
inline constexpr int ObjectCostNotANumber = 248;
// Warning: the cost of the object must be above 0.
inline constexpr int ObjectCostNotPositive = 232;
// Warning: the number of modernisation variants is not entered.
inline constexpr int ModernisationsEmpty = 315;
// Warning: wrong number of modernisation variants.
inline constexpr int ModernisationsRange = 216;
// Warning: the cost of the modernisation is not entered.
inline constexpr int ModernisationCostEmpty = 313;
// Warning: the cost of the modernisation is not a number.
inline constexpr int ModernisationCostNotANumber = 247;
// Warning: the cost of the modernisation must be above 0.
inline constexpr int ModernisationCostNotPositive = 231;
// Warning: the duration of the modernisation is not entered.
inline constexpr int DurationEmpty = 307;
// Warning: the duration of the modernisation is not a number.
inline constexpr int DurationNotANumber = 244;
// Warning: the duration of the modernisation must be above 0.
inline constexpr int DurationNotPositive = 230;
// Warning: the number of sale variants is not entered.
inline constexpr int SalesEmpty = 316;
// Warning: wrong number of sale variants.
inline constexpr int SalesRange = 217;
// Warning: the number of exploitation variants is not entered.
inline constexpr int ExploitationsEmpty = 317;
// Warning: wrong number of exploitation variants.
inline constexpr int ExploitationsRange = 218;
// Warning: sale and exploitation variants cannot both be 0.
inline constexpr int NoSaleNorExploitation = 241;
// Start of the warning "The column is not filled in".
inline constexpr int ColumnNotFilled = 306;
// Start of the warning "Negative value in the column".
inline constexpr int NegativeInColumn = 235;
// Warning: the number of curve points is not entered.
inline constexpr int PointsEmpty = 318;
// Warning: the argument is not entered.
inline constexpr int ArgumentEmpty = 308;
// Warning: the argument is not a number.
inline constexpr int ArgumentNotANumber = 245;
// Warning: the argument of the first point must be 0.
inline constexpr int FirstArgumentNotZero = 213;
// Warning: the argument must not be negative.
inline constexpr int ArgumentNegative = 210;
// Warning: the arguments must not decrease.
inline constexpr int ArgumentsDecrease = 206;
// Warning: the value is not entered.
inline constexpr int ProbabilityEmpty = 309;
// Warning: the value is not a number.
inline constexpr int ProbabilityNotANumber = 246;
// Warning: the value must not be negative.
inline constexpr int ProbabilityNegative = 211;
// Warning: the value of the first point must be 0.
inline constexpr int FirstProbabilityNotZero = 212;
// Warning: the value of the last point must be 1.
inline constexpr int LastProbabilityNotOne = 207;
// Warning: only the last point may have the value 1.
inline constexpr int OnlyLastProbabilityOne = 209;
// Warning: the values must not decrease.
inline constexpr int ProbabilitiesDecrease = 208;
// Warning: a point repeats the previous point.
inline constexpr int PointRepeated = 90;

// Task wizard: its titles, pages, prompts and notes, and the checks of its fields.

// Task type 1 as a choice, after "1: ".
inline constexpr int SaleWithoutPaybackChoice = 8;
// Value of the maximised parameter for sale tasks.
inline constexpr int SaleIncome = 9;
// Value of the maximised parameter for exploitation tasks.
inline constexpr int ExploitationIncome = 301;
// Note explaining "solve now".
inline constexpr int SolveNowNote = 17;
// "solve later".
inline constexpr int SolveLater = 352;
// Note explaining "solve later".
inline constexpr int SolveLaterNote = 410;
// Question: correct the database automatically after solving?.
inline constexpr int CorrectDatabaseQuestion = 18;
// Note to the correction question.
inline constexpr int CorrectDatabaseNote = 449;
// Caption of the tick field.
inline constexpr int TickCaption = 26;
// "Enter the name of the task": label and warning.
inline constexpr int EnterTaskName = 30;
// Heading "Restrictions".
inline constexpr int RestrictionsHeading = 31;
// "Credit" of an investment variant.
inline constexpr int CreditPrompt = 32;
// "Own funds of the investor".
inline constexpr int OwnFundsPrompt = 33;
// "Interest rate on the credit".
inline constexpr int InterestRatePrompt = 34;
// "Number of investment variants".
inline constexpr int VariantsNumberPrompt = 35;
// "Task code".
inline constexpr int TaskCodePrompt = 37;
// Label of the database list.
inline constexpr int ChooseDatabase = 54;
// Page heading "Select the objects of interest".
inline constexpr int SelectObjects = 56;
// "Order of solving".
inline constexpr int SolvingOrder = 58;
// "Investment mode" group label.
inline constexpr int ModeGroup = 59;
// Heading of the task import panel.
inline constexpr int ImportKind = 61;
// Page heading "Rounding of money amounts to ticks".
inline constexpr int RoundingHeading = 63;
// "Task type" group label.
inline constexpr int TaskTypeGroup = 64;
// "Decimal separator".
inline constexpr int DecimalSeparator = 86;
// End of the information on page 3.
inline constexpr int CorrectionOffPage3 = 105;
// End of the information on page 4 (pay-back task).
inline constexpr int CorrectionOffPage4 = 106;
// Information: correction allowed, pay-back task with several values.
inline constexpr int CorrectionAllowedPayback = 122;
// Information: correction allowed, several investment variants.
inline constexpr int CorrectionAllowedVariants = 123;
// "Task chosen for the import".
inline constexpr int TaskChosenForImport = 127;
// "Units of time".
inline constexpr int UnitsOfTime = 138;
// Button "Import" from the chosen file.
inline constexpr int ImportButton = 145;
// Button "Import from an Excel workbook".
inline constexpr int ImportWorkbookButton = 146;
// "Maximum pay-back coefficient".
inline constexpr int MaxPaybackCoefficient = 179;
// "not chosen": no database or task chosen yet.
inline constexpr int NotChosen = 198;
// Warning "No database is chosen".
inline constexpr int NoDatabaseChosen = 199;
// Warning: the threshold ratio of revenue to cost must be above 1.
inline constexpr int ThresholdRatioNotAboveOne = 221;
// Warning: the probability must be above 0.
inline constexpr int ProbabilityNotPositive = 224;
// Warning: the object limit must not be 0.
inline constexpr int ObjectLimitZero = 225;
// Warning: own funds plus credit must be above 0.
inline constexpr int FundsNotPositive = 226;
// Warning: the threshold ratio of income to cost must be above 0.
inline constexpr int IncomeRatioNotPositive = 227;
// Warning: the number of investment variants must not be 0.
inline constexpr int VariantsNumberZero = 228;
// Warning: the value must be above 0.
inline constexpr int ValueNotPositive = 229;
// Warning: the credit must not be negative.
inline constexpr int CreditNegative = 236;
// Warning: the own funds must not be negative.
inline constexpr int OwnFundsNegative = 237;
// Warning (mode 2): wrong number of values of the pay-back series.
inline constexpr int PaybackTermsCount = 238;
// Warning (mode 1): wrong number of values of the pay-back series.
inline constexpr int PaybackCoefficientsCount = 239;
// Warning: an amount in the table of investment variants is not a number.
inline constexpr int AmountNotANumber = 242;
// Warning (mode 1): wrong maximum and minimum pay-back coefficients.
inline constexpr int WrongCoefficientLimits = 249;
// Warning (mode 2): wrong maximum and minimum terms.
inline constexpr int WrongTermLimits = 250;
// Explanation: with one value the maximum and minimum must be equal.
inline constexpr int OneValueLimitsEqual = 293;
// Explanation: the maximum coefficient must exceed the minimum.
inline constexpr int MaxCoefficientAboveMin = 332;
// Explanation: the maximum term must exceed the minimum.
inline constexpr int MaxTermAboveMin = 333;
// Rounding type "by the maximum".
inline constexpr int RoundUp = 339;
// Rounding type "by the minimum".
inline constexpr int RoundDown = 340;
// Rounding type "by the mean".
inline constexpr int RoundToNearest = 341;
// Threshold ratio caption, sale tasks.
inline constexpr int SaleThresholdRatio = 348;
// Threshold ratio caption, exploitation tasks.
inline constexpr int ExploitationThresholdRatio = 350;
// "Automatic correction of the database after solving", followed by ":".
inline constexpr int CorrectionAfterSolvingPrompt = 364;
// "no limit (field left empty)".
inline constexpr int NoLimit = 397;
// Warning: own funds plus credit are too large.
inline constexpr int FundsTooLarge = 413;
// Warning: a pay-back coefficient above 1.
inline constexpr int CoefficientAboveOne = 414;
// Warning: too many investment variants.
inline constexpr int TooManyVariants = 416;
// Warning: a task with this code already exists.
inline constexpr int TaskCodeExists = 468;
// Hint after "<SpaceBar> - ": select or unselect the object.
inline constexpr int SpaceBarHint = 471;
// The upper bound "at most 100000000".
inline constexpr int UpperBound = 514;
// Warning: the control term must be above 0.
inline constexpr int ControlTermNotPositive = 515;
// Heading "Pay-back parameters" of the wizard.
inline constexpr int PaybackParametersPrompt = 518;
// Explanation of the required initial mean income (mode 2).
inline constexpr int RequiredIncomeNote = 519;
// "number of objects" under the database heading, followed by ":".
inline constexpr int ObjectsNumberItem = 521;
// "units: money" under the database heading.
inline constexpr int MoneyUnitsItem = 522;
// "Choose the task to import".
inline constexpr int ChooseTaskToImport = 523;
// "Number of objects" of the database.
inline constexpr int ObjectsNumber = 273;
// "yes", trimmed, the answer to the correction question.
inline constexpr int Yes = 1;
// Column heading "Object number", trimmed.
inline constexpr int ObjectNumberTrimmedColumn = 261;
// Heading "General data of the task", trimmed.
inline constexpr int GeneralDataHeading = 277;
// "Objects usable for this task type", trimmed.
inline constexpr int UsableForThisType = 484;
// "one investment variant", trimmed, inside the correction information.
inline constexpr int OneInvestmentVariant = 487;
// "Code of the database", trimmed.
inline constexpr int DatabaseCodeKey = 520;
// Check box "Select all objects", trimmed.
inline constexpr int SelectAllObjects = 65;
// Page 8 explanation for sale tasks.
inline constexpr int SaleDelayTablesNote = 150;
// Page 8 explanation for exploitation tasks.
inline constexpr int ExploitationDelayTablesNote = 524;
// Control term counted from putting the object on sale.
inline constexpr int SaleControlTerm = 516;
// Control term counted from putting the object into exploitation.
inline constexpr int ExploitationControlTerm = 159;
// Task wizard title in correction mode.
inline constexpr int CorrectTaskTitle = 164;
// Task wizard title for a new task.
inline constexpr int NewTaskTitle = 41;
// Caption of Next on the last page: "Save".
inline constexpr int Save = 77;
// "solve now", trimmed.
inline constexpr int SolveNow = 3;

// Viewers of a task, a solution and statistics, and their printed and exported copies.

// Legend of the rounding types.
inline constexpr int RoundingLegend = 4;
// Legend: maximised parameter 1, after " 1 - ".
inline constexpr int SaleIncomeLegend = 7;
// Legend: maximised parameter 2, after " 2 - ".
inline constexpr int ExploitationIncomeLegend = 300;
// Task type 1, after "1: " or " 1 - ".
inline constexpr int SaleWithoutPayback = 10;
// Task type 2, after "2: " or " 2 - ".
inline constexpr int SaleWithPayback = 11;
// Task type 3, after "3: " or " 3 - ".
inline constexpr int ExploitationWithoutPayback = 302;
// Task type 4, after "4: " or " 4 - ".
inline constexpr int ExploitationWithPayback = 303;
// "Investment variant", followed by " <n>".
inline constexpr int InvestmentVariantKey = 24;
// Heading, mode 2: threshold income at the chosen risk levels.
inline constexpr int ThresholdIncomeMode2 = 44;
// Heading, mode 1: threshold income at the chosen risk levels.
inline constexpr int ThresholdIncomeMode1 = 45;
// "Duration of the statistical modelling".
inline constexpr int ModellingDuration = 48;
// Caption of the variant selection dialog.
inline constexpr int VariantChoiceCaption = 66;
// Caption of the risk-level dialog.
inline constexpr int RiskLevelChoiceCaption = 67;
// Prompt: choose the risk levels to show.
inline constexpr int ChooseRiskLevels = 114;
// "Duration of the modernisation".
inline constexpr int ModernisationDuration = 87;
// "Tick (rounding step of money amounts)".
inline constexpr int Tick = 89;
// Heading, mode 2: term for the required initial mean income.
inline constexpr int RequiredIncomeTermMode2 = 98;
// "Term for obtaining the required initial mean income".
inline constexpr int RequiredIncomeTerm = 99;
// "time unit" of the database, after " - ".
inline constexpr int TimeUnitItem = 100;
// "money unit" of the database, after " - ".
inline constexpr int MoneyUnitItem = 101;
// Investment mode 2: modernisation of one's own real estate.
inline constexpr int ModernisationMode = 147;
// Investment mode 1: purchase of others' real estate.
inline constexpr int PurchaseMode = 148;
// "Object code", trimmed.
inline constexpr int ObjectCode = 155;
// "pay-back coefficient", second half of a heading.
inline constexpr int PaybackCoefficientTail = 165;
// "pay-back coefficient", followed by ": ".
inline constexpr int PaybackCoefficientKey = 166;
// Column heading "Pay-back coefficient".
inline constexpr int PaybackCoefficientColumn = 167;
// "check thinning factor", sub-item.
inline constexpr int CheckEveryItem = 168;
// "stopping threshold", sub-item.
inline constexpr int ThresholdItem = 170;
// Heading line of the pay-back coefficients, mode 1.
inline constexpr int PaybackCoefficientsHeading = 178;
// "Number of phase states".
inline constexpr int PhaseStatesNumber = 180;
// "Maximum term for obtaining the required initial mean income".
inline constexpr int MaxRequiredIncomeTerm = 181;
// "Maximised parameter".
inline constexpr int MaximisedParameter = 182;
// "Minimum pay-back coefficient".
inline constexpr int MinPaybackCoefficient = 184;
// "Minimum term for obtaining the required initial mean income".
inline constexpr int MinRequiredIncomeTerm = 185;
// Heading, mode 1: simulated mean absolute income.
inline constexpr int MeanIncomeMode1 = 187;
// Heading, mode 2: simulated mean absolute income.
inline constexpr int MeanIncomeMode2 = 188;
// "name" of the database, sub-item.
inline constexpr int NameItem = 193;
// "Limit on the number of objects taken".
inline constexpr int ObjectLimitKey = 251;
// Column heading "Investment variant number".
inline constexpr int VariantNumberColumn = 255;
// Column heading "Modernisation variant number", trimmed.
inline constexpr int ModernisationNumberTrimmed = 256;
// Column heading "Modernisation variant number".
inline constexpr int ModernisationNumberColumn = 258;
// Column heading "Object number".
inline constexpr int ObjectNumberColumn = 262;
// Column heading "Object number in the database", trimmed.
inline constexpr int ObjectInDatabaseColumn = 264;
// Column heading "Point number" of a delay curve.
inline constexpr int PointNumberColumn = 265;
// Label of the third information text of the optimisation module.
inline constexpr int InfoText3Item = 278;
// Heading "Restrictions".
inline constexpr int Restrictions = 280;
// "Expected revenue from the sale".
inline constexpr int ExpectedSaleRevenue = 282;
// Heading (pay-back, mode 1): computed mean absolute income.
inline constexpr int ComputedIncomeMode1 = 283;
// Heading (sale tasks): expected income of the variant.
inline constexpr int ExpectedVariantIncome = 284;
// Heading (pay-back, mode 2): computed mean absolute income.
inline constexpr int ComputedIncomeMode2 = 285;
// Heading (exploitation tasks): expected relative income of the variant.
inline constexpr int ExpectedVariantRate = 286;
// "Expected specific income of the exploitation".
inline constexpr int ExpectedExploitationIncome = 287;
// "Expected specific income of the exploitation in the steady state".
inline constexpr int SteadyExploitationIncome = 288;
// Heading (pay-back, mode 1): "Pay-back amount".
inline constexpr int PaybackAmount = 291;
// Heading (mode 1): "Pay-back amount" of the statistics.
inline constexpr int PaybackAmountStat = 292;
// "Description of the modernisation variant".
inline constexpr int ModernisationDescription = 294;
// "Description of the object", trimmed.
inline constexpr int ObjectDescription = 297;
// "relaxation coefficient", sub-item.
inline constexpr int OmegaItem = 304;
// Heading "Database of real-estate objects".
inline constexpr int DatabaseHeading = 326;
// Heading "Information of the optimisation module".
inline constexpr int InfoHeading = 327;
// Heading "Pay-back parameters".
inline constexpr int PaybackParametersHeading = 328;
// Heading "Parameters of the optimisation scheme".
inline constexpr int SchemeHeading = 331;
// Warning: these tabs are only for tasks with pay-back.
inline constexpr int PaybackTabsOnly = 335;
// "used" amount, followed by " - " and a number.
inline constexpr int Used = 353;
// Indented sub-item "maximum".
inline constexpr int MaximumItem = 354;
// "limit of iteration cycles", sub-item.
inline constexpr int MaxCyclesItem = 355;
// "available" amount, followed by " - " and a number.
inline constexpr int Available = 356;
// "Credit".
inline constexpr int Credit = 357;
// "Own funds" of the statistics.
inline constexpr int OwnFundsStat = 358;
// "Own funds".
inline constexpr int OwnFunds = 359;
// Column heading "Selected".
inline constexpr int SelectedColumn = 361;
// "Statistics allowed".
inline constexpr int StatisticsAllowed = 362;
// "Automatic correction of the database after solving".
inline constexpr int CorrectionAfterSolving = 363;
// Column heading "Absent", trimmed.
inline constexpr int AbsentColumn = 366;
// "Result of the run".
inline constexpr int RunResult = 369;
// "Pay-back" flag of the task.
inline constexpr int Payback = 370;
// "Interest rate on the credit".
inline constexpr int InterestRate = 396;
// Heading (mode 1): computed mean absolute income, trimmed.
inline constexpr int ComputedIncomeStatMode1 = 401;
// Heading (mode 2): computed mean absolute income.
inline constexpr int ComputedIncomeStatMode2 = 402;
// "Pay-back time of the exploitation variant".
inline constexpr int PaybackTimeOfVariant = 403;
// "Investment mode".
inline constexpr int InvestmentMode = 404;
// Heading (pay-back, mode 1): "Pay-back term".
inline constexpr int PaybackTermHeading = 432;
// "Pay-back term of the investment".
inline constexpr int PaybackTerm = 433;
// Heading (mode 1): "Pay-back term" of the statistics.
inline constexpr int PaybackTermStatHeading = 434;
// "Cost of the modernisation".
inline constexpr int ModernisationCost = 438;
// "Cost of the object".
inline constexpr int ObjectCost = 439;
// Heading (no pay-back): "Own funds".
inline constexpr int OwnFundsHeading = 440;
// "Total full cost of the chosen objects".
inline constexpr int TotalCost = 441;
// Heading (sale tasks): expected income of the variant.
inline constexpr int ExpectedVariantIncomeStat = 443;
// Heading (exploitation tasks): expected relative income of the variant.
inline constexpr int ExpectedVariantRateStat = 444;
// "Credit" before the available and used amounts.
inline constexpr int CreditKey = 445;
// "Own funds" before the available and used amounts.
inline constexpr int OwnFundsKey = 446;
// Label of the second information text of the optimisation module.
inline constexpr int InfoText2Item = 450;
// "Message of the optimisation module".
inline constexpr int ModuleMessage = 451;
// "Task type".
inline constexpr int TaskType = 456;
// "Rounding of money amounts".
inline constexpr int Rounding = 457;
// Label of the first information text of the optimisation module.
inline constexpr int InfoText1Item = 458;
// "Number of modernisation variants".
inline constexpr int ModernisationsNumber = 475;
// "Number of sale variants".
inline constexpr int SalesNumber = 476;
// "Number of exploitation variants", trimmed.
inline constexpr int ExploitationsNumber = 477;
// "Number of chosen objects".
inline constexpr int ChosenObjectsNumber = 478;
// "Number of values (terms) of the pay-back series".
inline constexpr int PaybackTermsNumber = 479;
// "Number of values (coefficients) of the pay-back series".
inline constexpr int PaybackCoefficientsNumber = 480;
// "usable for the task type", sub-item.
inline constexpr int UsableItem = 483;
// "Number of trials".
inline constexpr int Trials = 485;
// Heading "Number of iteration cycles".
inline constexpr int IterationCyclesHeading = 486;
// "code" of the database, sub-item.
inline constexpr int CodeItem = 490;
// "pay-back coefficient", second half of a statistics heading.
inline constexpr int PaybackCoefficientStatTail = 499;
// "number of objects" of the database, after " - ".
inline constexpr int DatabaseObjectsItem = 502;
// "Investment variants": tab and worksheet name.
inline constexpr int InvestmentVariantsTab = 325;
// "Parameters of the objects", trimmed, tab and worksheet name.
inline constexpr int ObjectParametersTab = 329;
// "Delay distribution tables", trimmed, tab and worksheet name.
inline constexpr int DelayTablesTab = 448;
// "Delay of the start of exploitation (argument)".
inline constexpr int ExploitationDelayArgument = 132;
// "Delay of the sale (argument)".
inline constexpr int SaleDelayArgument = 133;
// Control term counted from putting the object on sale, sub-item.
inline constexpr int SaleControlTermItem = 158;
// Control term counted from putting the object into exploitation, sub-item.
inline constexpr int ExploitationControlTermItem = 160;
// Maximum admissible probability that the sale has not happened.
inline constexpr int MaxSaleProbability = 174;
// Maximum admissible probability that exploitation has not started.
inline constexpr int MaxExploitationProbability = 175;
// Maximum delay before the object can be put on sale.
inline constexpr int MaxSaleDelay = 176;
// Maximum delay before the object can be put into exploitation.
inline constexpr int MaxExploitationDelay = 177;
// Threshold ratio of exploitation income to cost, exploitation tasks.
inline constexpr int ExploitationIncomeRatio = 349;
// "Total full cost of the chosen objects", mode 2 wording.
inline constexpr int TotalCostMode2 = 442;
// Heading (mode 2, sale tasks): "Required initial mean income".
inline constexpr int RequiredSaleIncomeStat = 460;
// Heading (mode 2, exploitation tasks): "Required initial mean income".
inline constexpr int RequiredExploitationIncomeStat = 461;
// "Required initial mean income (sale tasks)".
inline constexpr int RequiredSaleIncome = 462;
// "Required initial mean income (exploitation tasks)".
inline constexpr int RequiredExploitationIncome = 463;
// Heading (pay-back, mode 2, sale tasks): "Required initial mean income".
inline constexpr int RequiredSaleIncomeHeading = 464;
// Heading (pay-back, mode 2, exploitation tasks): "Required initial mean income".
inline constexpr int RequiredExploitationIncomeHeading = 465;
// Task viewer caption, exactly 30 characters.
inline constexpr int TaskViewerCaption = 389;
// Solution viewer caption, exactly 34 characters.
inline constexpr int SolutionViewerCaption = 392;
// Statistics viewer caption, exactly 30 characters.
inline constexpr int StatisticsViewerCaption = 394;

// Workbooks: the sheets and captions of an export, the warnings of an import.

// "Date of creation (last save) of the database", trimmed.
inline constexpr int DatabaseDate = 84;
// Objects usable for task type 1.
inline constexpr int UsableType1 = 93;
// Objects usable for task type 2.
inline constexpr int UsableType2 = 94;
// Objects usable for task type 3.
inline constexpr int UsableType3 = 95;
// Objects usable for task type 4.
inline constexpr int UsableType4 = 96;
// "Unit of time".
inline constexpr int UnitOfTime = 102;
// "Unit of cost".
inline constexpr int UnitOfCost = 103;
// "Delay of the start of exploitation".
inline constexpr int ExploitationDelay = 134;
// "Delay of the sale".
inline constexpr int SaleDelay = 135;
// Probability that exploitation has started.
inline constexpr int ExploitationProbability = 136;
// Probability that the sale has happened.
inline constexpr int SaleProbability = 137;
// "Code of the database", trimmed.
inline constexpr int DatabaseCode = 153;
// "Name of the database".
inline constexpr int DatabaseName = 194;
// Column heading "Sale variant number".
inline constexpr int SaleNumberColumn = 259;
// Column heading "Exploitation variant number".
inline constexpr int ExploitationNumberColumn = 260;
// Column heading "Object number", trimmed.
inline constexpr int ObjectNumberTrimmed = 263;
// "Number of objects of the database".
inline constexpr int DatabaseObjectsNumber = 274;
// Worksheet name "Database (general data)", trimmed.
inline constexpr int DatabaseSheet = 276;
// Column heading "Currently absent".
inline constexpr int CurrentlyAbsentColumn = 367;
// Worksheet name "Solution".
inline constexpr int SolutionSheet = 408;
// "Type of the database" (letter A or B).
inline constexpr int DatabaseType = 454;
// Number of points of the exploitation delay curve.
inline constexpr int ExploitationPointsNumber = 481;
// Number of points of the sale delay curve.
inline constexpr int SalePointsNumber = 482;
// "of which usable for the task types", trimmed.
inline constexpr int UsableForTypes = 498;
// "Language (suffix of the language shell)".
inline constexpr int Language = 528;
// Warning: the task's database type does not fit the investment mode.
inline constexpr int DatabaseTypeMismatch = 385;
// Warning: the task's investment mode differs from the chosen one.
inline constexpr int ModeMismatch = 386;
// Warning, first part: the type of the database in the workbook.
inline constexpr int WorkbookDatabaseType = 508;
// Warning, second part: does not match the type chosen on page 1.
inline constexpr int TypeNotChosenType = 509;
// "instead of", between the found and the expected type prefix.
inline constexpr int InsteadOf = 517;
// Warning, first part: the language of the data in the workbook.
inline constexpr int WorkbookLanguage = 525;
// Warning, second part: does not match the loaded shell, trimmed.
inline constexpr int NotShellLanguage = 526;
// Warning, third part: the import is impossible.
inline constexpr int ImportImpossible = 527;

// The database wizard.
// Caption "Database chosen for the import".
inline constexpr int DatabaseChosenForImport = 16;
// Code prompt of a type A database (3 digits).
inline constexpr int DatabaseCodeTypeA = 27;
// Code prompt of a type B database (6 digits).
inline constexpr int DatabaseCodeTypeB = 28;
// "Number of objects in the database", before its range.
inline constexpr int ObjectsInDatabase = 36;
// "Choose the database to import".
inline constexpr int ChooseDatabaseToImport = 55;
// Caption of the cost-unit list.
inline constexpr int UnitsOfCost = 57;
// "Choose the type of the database".
inline constexpr int ChooseDatabaseType = 60;
// Heading of the database import panel.
inline constexpr int ChooseImportKind = 62;
// Database wizard heading of the objects page.
inline constexpr int ObjectsPageHeading = 115;
// Database wizard heading of the modernisation-variants page.
inline constexpr int ModernisationsPageHeading = 116;
// Database wizard heading of the sale-variants page.
inline constexpr int SalesPageHeading = 117;
// Database wizard heading of the sale-curves page.
inline constexpr int SaleCurvesPageHeading = 118;
// Database wizard heading of the exploitation-variants page.
inline constexpr int ExploitationsPageHeading = 119;
// Database wizard heading of the exploitation-curves page.
inline constexpr int ExploitationCurvesPageHeading = 120;
// "Code of the database being corrected".
inline constexpr int CodeBeingCorrected = 154;
// "Code of the database being viewed".
inline constexpr int CodeBeingViewed = 157;
// Note: a sale curve may have 0 points only for a single sale variant.
inline constexpr int SaleZeroPointsNote = 266;
// Note: an exploitation curve may have 0 points only for a single variant.
inline constexpr int ExploitationZeroPointsNote = 267;
// "Summary of the database (saved by Next)".
inline constexpr int DatabaseSummaryHeading = 275;
// Column heading "Delete" (deletion mark).
inline constexpr int DeleteColumn = 368;
// Explanation of database type B.
inline constexpr int TypeBExplanation = 405;
// Explanation of database type A.
inline constexpr int TypeAExplanation = 406;
// "Type of the database".
inline constexpr int TypeOfTheDatabase = 455;
// Hint after "<SpaceBar> - ": setting or removing the marks.
inline constexpr int SpaceBarMarksHint = 472;
// "Date of this saving".
inline constexpr int DateOfThisSaving = 510;

// Pictures: the delay curve beside a curve grid, the statistics viewer's risk picture and the
// solution viewer's bar chart of the variants' expected incomes.
inline constexpr int TableTab = 560;             // tab of a viewer's table beside its picture
inline constexpr int RiskPictureTab = 561;       // statistics viewer: the risk picture's tab
inline constexpr int RiskProbability = 562;      // its horizontal axis
inline constexpr int ThresholdIncome = 563;      // its vertical axis, followed by the money unit
inline constexpr int IncomePictureTab = 564;     // solution viewer: the bar chart's tab
inline constexpr int FirstInvalidPoint = 565;    // a curve's first invalid point, then its number
inline constexpr int DistributionFunction = 567; // a curve picture's vertical axis
inline constexpr int NothingToShow = 568;        // a picture without data

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
// Abbreviation of "characters".
inline constexpr int Chars = 11;
// Abbreviation of "pay-back term".
inline constexpr int PaybackTermShort = 32;
// Cost unit, first item of the cost-unit list.
inline constexpr int Hryvnia = 5;
// Cost unit, second item of the cost-unit list.
inline constexpr int Dollar = 8;
// Cost unit, third item of the cost-unit list.
inline constexpr int Euro = 9;
// Cost unit, fourth item of the cost-unit list.
inline constexpr int Rouble = 30;

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
