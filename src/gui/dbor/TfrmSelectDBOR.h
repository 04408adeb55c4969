#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class WindowHost;

// The database selection dialog: the databases of the list the database menu built, for the
// command of the WindowMode read at creation: 3 correction and 4 viewing (the wizard opens and
// the dialog waits hidden until the wizard closes it), 5 export to a workbook, 6 deletion.
class TfrmSelectDBOR final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSelectDBOR(WindowHost& host);

public slots:
    void btnOKClick();

private:
    void exportDatabase(const std::string& code);
    void deleteDatabase(const std::string& code);

    WindowHost& host_;
    int mode_ = 0;
    QListWidget* lbTask = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
