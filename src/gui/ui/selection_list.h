#pragma once

#include <QSize>
#include <QStringList>

#include <functional>

class QDialog;
class QListWidget;
class QPushButton;
class QString;

// The body of a selection dialog: a framed list of lines with OK and Cancel below it on the right.
// The first line is chosen and OK is enabled while the list holds one; OK, a double click on a
// line and Enter call `choose`, Cancel closes the dialog. The dialog takes `size` at the least and
// keeps it.
struct SelectionList {
    QListWidget* list;
    QPushButton* ok;
    QPushButton* cancel;
};
SelectionList buildSelectionList(QDialog& dialog, const QString& cancelText,
                                 const QStringList& lines, std::function<void()> choose,
                                 QSize size);
