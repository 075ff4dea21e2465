#include "FontChoice.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QPushButton>

QString DrawnFamily(const QString& Family) {
    if (QFontDatabase::hasFamily(Family)) return Family;
    // The system font may name an alias such as "monospace"; the dialog lists
    // only real families, so ask which one it resolves to.
    return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
}

std::optional<QFont> ChooseFont(const QFont& Current, QWidget* Owner,
                                const std::function<void(const QFont&)>& Apply) {
    QFontDialog Dialog(Current, Owner);
    Dialog.setOption(QFontDialog::DontUseNativeDialog); // the Apply button lives in Qt's own dialog
    // The dialog reads the style from its list; effects it keeps from the font given.
    Dialog.setCurrentFont(Current);
    if (auto* Buttons = Dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* ApplyButton = Buttons->addButton(QDialogButtonBox::Apply);
        QObject::connect(ApplyButton, &QPushButton::clicked, &Dialog,
                         [&Dialog, &Apply] { Apply(Dialog.currentFont()); });
    }
    if (Dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Dialog.selectedFont();
}
