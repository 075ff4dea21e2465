#include "Forms.InsIdent.h"

#include "FlowLayout.h"
#include "Scalar.Ident.h"
#include "WindowBounds.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

namespace {
constexpr int VariableWidth = 140;
constexpr int FunctionWidth = 200;
constexpr int Columns = 3;
constexpr int ButtonMargin = 1;
// Room beside the three columns and below the rows, split evenly around the
// buttons: 3 * (w + 2) + 10 fits into the client width 3 * w + 20.
constexpr int PanelMargin = 5;
constexpr int ExtraWidth = 20;
constexpr int ExtraHeight = 2 * PanelMargin;

QString Text(const std::u16string& S) {
    return QString::fromStdU16String(S);
}

bool IsOfKind(const TIdent& Ident, TIdentKind Kind) {
    switch (Kind) {
    case ikVariable: return dynamic_cast<const TVariable*>(&Ident) != nullptr;
    case ikFunction: return dynamic_cast<const TFunction*>(&Ident) != nullptr;
    }
    return false;
}
} // namespace

void TIdentButton::Init(const TIdent& Ident) {
    FIdentName = Text(Ident.Name());
    setText(u' ' + Text(Ident.ToString()));
    setToolTip(Text(Ident.Comment()));
}

void TIdentButton::paintEvent(QPaintEvent*) {
    QStylePainter Painter(this);
    QStyleOptionButton Option;
    initStyleOption(&Option);
    const QString Caption = Option.text;
    Option.text.clear();
    Painter.drawControl(QStyle::CE_PushButton, Option);
    const QRect Area = style()->subElementRect(QStyle::SE_PushButtonContents, &Option, this);
    Painter.drawItemText(Area, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                         fontMetrics().elidedText(Caption, Qt::ElideRight, Area.width()),
                         QPalette::ButtonText);
}

TInsIdentForm::TInsIdentForm(QWidget* Owner, const QString& Caption) : QDialog(Owner) {
    setObjectName(QStringLiteral("InsIdentForm"));
    setWindowTitle(Caption);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont Tahoma(QStringLiteral("Tahoma"));
    Tahoma.setPixelSize(13);
    setFont(Tahoma);

    // The rows scroll only when they would not fit on the screen.
    FScroll = new QScrollArea(this);
    FScroll->setFrameShape(QFrame::NoFrame);
    FScroll->setWidgetResizable(true);
    FScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FlowPanel1 = new QWidget(FScroll);
    FlowPanel1->setObjectName(QStringLiteral("FlowPanel1"));
    FFlow = new TFlowLayout(FlowPanel1);
    FFlow->setContentsMargins(PanelMargin, PanelMargin, PanelMargin, PanelMargin);
    FFlow->SetItemMargins(QMargins(ButtonMargin, ButtonMargin, ButtonMargin, ButtonMargin));
    FScroll->setWidget(FlowPanel1);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(FScroll);
    Layout->setSizeConstraint(QLayout::SetNoConstraint); // the height comes from the rows, below
    resize(528, 486);
    new TWindowBounds(*this); // opens with its title bar on the screen
}

void TInsIdentForm::Init(TIdentList& List, TIdentKind Kind) {
    if (List.Count() == 0) return;
    const int W = Kind == ikVariable ? VariableWidth : FunctionWidth;
    int ClientWidth = Columns * W + ExtraWidth;
    List.Sort();
    int N = 0;
    int RowHeight = 0;
    for (const auto& Ident : List) {
        if (!IsOfKind(*Ident, Kind)) continue;
        auto* Button = new TIdentButton(FlowPanel1);
        Button->setFixedWidth(W);
        Button->Init(*Ident);
        connect(Button, &QPushButton::clicked, this, [this, Button] { ButtonClick(*Button); });
        FFlow->addWidget(Button);
        ++N;
        RowHeight = Button->sizeHint().height() + 2 * ButtonMargin;
    }
    const int Rows = (N + Columns - 1) / Columns;
    int ClientHeight = Rows * RowHeight + ExtraHeight;
    // A long list would make a window taller than the screen, with buttons out
    // of reach; then the rows scroll and the scroll bar gets room of its own.
    const QScreen* Screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const int Available = Screen ? Screen->availableGeometry().height() * 9 / 10 : ClientHeight;
    if (ClientHeight > Available) {
        ClientHeight = Available;
        ClientWidth += FScroll->verticalScrollBar()->sizeHint().width();
    }
    resize(ClientWidth, ClientHeight);
}

void TInsIdentForm::ButtonClick(const TIdentButton& Button) {
    FIdentName = Button.IdentName();
    accept();
}

TIdentInsertion FunctionInsertion(const QString& Name, const QString& Selected, QChar Next,
                                  const TBrackets& Brackets) {
    if (!Selected.isEmpty()) {
        if (Selected.contains(Brackets.Left1)) return {Name + Brackets.Left2 + Selected + Brackets.Right2, 0};
        return {Name + Brackets.Left1 + Selected + Brackets.Right1, 0};
    }
    if (!Next.isNull() && (Next == Brackets.Left1 || Next == Brackets.Left2)) return {Name, 0};
    return {Name + Brackets.Left1 + Brackets.Right1, 1};
}
