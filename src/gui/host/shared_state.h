#pragma once

#include "dbor/bdon_list.h"
#include "io/codepage.h"
#include "protocol/protocol.h"
#include "regional_settings.h"
#include "shell/language_shell.h"

#include <QString>

#include <string>
#include <vector>

class FileDialogService;
class FileOpenService;
class MessageService;
class ReportPrintService;

// The state every window reads from the main window for the whole run; windows hold a
// reference to it and never copy it.
struct SharedState {
    std::string workspace; // the folder of the executable
    kov::LanguageShell shell;
    bool shellLoaded = false;
    std::vector<kov::ProtocolEntry> protocol;
    RegionalSettings regional;
    int windowMode = 0;
    std::vector<kov::BdonListEntry> bdonList; // valid from the last opening of the database menu
    std::string currentFileBase;
    int solveNow = 0;
    std::string solveNowCode;
    MessageService* messages = nullptr;
    FileOpenService* fileOpener = nullptr;    // opens exported workbooks and printed PDFs
    FileDialogService* fileDialogs = nullptr; // asks for a workbook to import
    ReportPrintService* printer = nullptr;    // prints the viewers' reports

    kov::CodePage codepage() const { return shell.codepage; }
    std::string path(const std::string& relative) const;
    // Shell texts as QStrings.
    QString text(int k) const { return QString::fromStdString(shell.text(k)); }
    QString trimmed(int k) const { return QString::fromStdString(shell.trimmed(k)); }
    QString shortText(int k) const { return QString::fromStdString(shell.short_text(k)); }
    QString listItem(int g, int i) const { return QString::fromStdString(shell.list_item(g, i)); }
};
