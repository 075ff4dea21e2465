#include "Forms.Symbols.h"

#include "Scalar.Ident.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

TSymbolForm::TSymbolForm(QWidget* Owner) : QDialog(Owner) {
    setObjectName(QStringLiteral("SymbolForm"));
    setWindowTitle(QStringLiteral("List of defined symbols"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setMinimumSize(250, 200);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont Font(QStringLiteral("Courier New"));
    Font.setStyleHint(QFont::TypeWriter);
    Font.setPixelSize(19);
    Font.setBold(true);
    Memo1->setFont(Font);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Memo1);
    resize(312, 480);
}

void TSymbolForm::Fill(TIdentList& List) {
    List.Sort();
    QStringList Lines;
    for (const auto& Ident : List)
        Lines.append(QString::fromStdU16String(Ident->ToStringC()));
    Memo1->setPlainText(Lines.join(u'\n'));
}

void TSymbolForm::ShowDlg(TIdentList& List, QWidget* Owner) {
    TSymbolForm Form(Owner);
    Form.Fill(List);
    Form.exec();
}
