#include "ui/selection_list.h"

#include "ui/enter_key.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SelectionList buildSelectionList(QDialog& dialog, const QString& cancelText,
                                 const QStringList& lines, std::function<void()> choose,
                                 QSize size) {
    auto* GroupBox1 = new QGroupBox(&dialog);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* list = new QListWidget(GroupBox1);
    list->setObjectName(QStringLiteral("lbTask"));
    list->setMinimumSize(452, 223);
    auto* groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->addWidget(list);
    auto* ok = new QPushButton(QStringLiteral("ОК"), &dialog);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto* cancel = new QPushButton(cancelText, &dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(GroupBox1, 1);
    layout->addLayout(buttons);

    list->addItems(lines);
    if (list->count() > 0) {
        list->setCurrentRow(0);
    }
    ok->setEnabled(list->count() > 0);

    QObject::connect(ok, &QPushButton::clicked, &dialog, choose);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::close);
    // A double click on a line chooses it.
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, [ok, choose] {
        if (ok->isEnabled()) {
            choose();
        }
    });
    installEnterKey(dialog, {ok});
    dialog.setFixedSize(size.expandedTo(dialog.minimumSizeHint()));
    return {list, ok, cancel};
}
