// Syntax colours: the palette's contrast on light, dark and awkward
// backgrounds, and the colorer on a real text box as the user types.
#include "AppTestSupport.h"

#include "Memo.h"
#include "SyntaxColors.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {
// The colorer, counting the lines it colours.
class TCountingColorer : public TSyntaxColorer {
  public:
    using TSyntaxColorer::TSyntaxColorer;
    int Lines = 0;

  protected:
    void highlightBlock(const QString& Text) override {
        ++Lines;
        TSyntaxColorer::highlightBlock(Text);
    }
};

// The format the colorer gave character Pos of the box, or none.
std::optional<QTextCharFormat> FormatAt(const QPlainTextEdit& Box, int Pos) {
    const QTextBlock Block = Box.document()->findBlock(Pos);
    for (const QTextLayout::FormatRange& R : Block.layout()->formats())
        if (Pos - Block.position() >= R.start && Pos - Block.position() < R.start + R.length) return R.format;
    return std::nullopt;
}

QColor ColorAt(const QPlainTextEdit& Box, int Pos) {
    const auto F = FormatAt(Box, Pos);
    return F ? F->foreground().color() : QColor();
}

TNameClasses SomeNames() {
    TNameClasses N;
    N.Set(u"sin", syBuiltin);
    N.Set(u"pi", syVariable);
    return N;
}
} // namespace

class TestSyntaxColors : public QObject {
    Q_OBJECT
  private slots:
    void paletteKeepsContrast_data();
    void paletteKeepsContrast();
    void typingColoursTheTokensOfTheEditedLineOnly();
    void newNamesRecolourAndSwitchingOffClears();
    void bracketAtTheCaretAndItsPartnerAreMarked();
};

void TestSyntaxColors::paletteKeepsContrast_data() {
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("back");
    QTest::newRow("maroon on white") << QColor(128, 0, 0) << QColor(Qt::white);
    QTest::newRow("black on light yellow") << QColor(Qt::black) << QColor(255, 255, 224);
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("light grey on dark blue") << QColor(220, 220, 220) << QColor(20, 30, 70);
    QTest::newRow("black on middle grey") << QColor(Qt::black) << QColor(128, 128, 128);
    QTest::newRow("white on saturated blue") << QColor(Qt::white) << QColor(0, 0, 255);
    QTest::newRow("a pale choice: grey on grey") << QColor(90, 90, 90) << QColor(150, 150, 150);
}

// Every class keeps the contrast the user's own text has, up to the usual 4.5,
// and the classes with colours of their own stay apart.
void TestSyntaxColors::paletteKeepsContrast() {
    QFETCH(QColor, text);
    QFETCH(QColor, back);
    const TSyntaxPalette P = DerivePalette(text, back);
    const double Wanted = std::min(4.5, ContrastRatio(text, back));
    for (int Class = 0; Class < syCount; ++Class) {
        if (ContrastRatio(P.Colors[Class], back) < Wanted - 0.01)
            QFAIL(qPrintable(QStringLiteral("class %1 has contrast %2, wanted %3")
                                 .arg(Class)
                                 .arg(ContrastRatio(P.Colors[Class], back))
                                 .arg(Wanted)));
    }
    for (const TSyntaxClass A : {syNumber, syVariable, syBuiltin, syUserFunction, syUndefined, syComment, syError})
        for (const TSyntaxClass B : {syNumber, syVariable, syBuiltin, syUserFunction, syUndefined, syComment, syError})
            if (A < B) QVERIFY2(P.Colors[A] != P.Colors[B], qPrintable(QStringLiteral("%1 and %2").arg(A).arg(B)));
    QVERIFY(P.BracketBack != back);
}

void TestSyntaxColors::typingColoursTheTokensOfTheEditedLineOnly() {
    TMemo Box;
    Box.setPlainText(QStringLiteral("1\n").repeated(200) + QStringLiteral("\n"));
    TCountingColorer Colorer(Box, TSymbols());
    Colorer.SetNames(SomeNames());
    QVERIFY(ShowActive(Box, Box));
    QTextCursor End(Box.document());
    End.movePosition(QTextCursor::End);
    Box.setTextCursor(End);
    const int Start = End.position();
    Colorer.Lines = 0;
    QTest::keyClicks(&Box, QStringLiteral("sin(pi)*2i+bb // c"));
    QVERIFY(Colorer.Lines <= 18); // one line a key
    const TSyntaxPalette P = DerivePalette(Box.palette().color(QPalette::Text), Box.palette().color(QPalette::Base));
    QCOMPARE(ColorAt(Box, Start + 0), P.Colors[syBuiltin]);
    QCOMPARE(ColorAt(Box, Start + 3), P.Colors[syBracket]);
    QCOMPARE(ColorAt(Box, Start + 4), P.Colors[syVariable]);
    QCOMPARE(ColorAt(Box, Start + 8), P.Colors[syNumber]);
    QCOMPARE(ColorAt(Box, Start + 11), P.Colors[syUndefined]);
    QVERIFY(FormatAt(Box, Start + 17)->fontItalic());
    QVERIFY(!FormatAt(Box, Start + 13)); // a blank
}

void TestSyntaxColors::newNamesRecolourAndSwitchingOffClears() {
    TMemo Box;
    Box.setUndoRedoEnabled(false); // as the input box: every change counts as a modification
    Box.setPlainText(QStringLiteral("y+1"));
    TSyntaxColorer Colorer(Box, TSymbols());
    const TSyntaxPalette P = DerivePalette(Box.palette().color(QPalette::Text), Box.palette().color(QPalette::Base));
    QCOMPARE(ColorAt(Box, 0), P.Colors[syUndefined]);
    TNameClasses Names;
    Names.Set(u"y", syVariable);
    Box.document()->setModified(false);
    const QSignalSpy Edits(&Box, &QPlainTextEdit::textChanged);
    Colorer.SetNames(Names);
    QCOMPARE(ColorAt(Box, 0), P.Colors[syVariable]);
    QCOMPARE(Edits.count(), 0); // re-colouring is no edit: no undo step, no auto-save
    QVERIFY(!Box.document()->isModified());
    Colorer.SetEnabled(false);
    QVERIFY(!FormatAt(Box, 0));
    QVERIFY(!FormatAt(Box, 2));
    Colorer.SetEnabled(true);
    QCOMPARE(ColorAt(Box, 2), P.Colors[syNumber]);
}

void TestSyntaxColors::bracketAtTheCaretAndItsPartnerAreMarked() {
    TMemo Box;
    TSyntaxColorer Colorer(Box, TSymbols());
    QVERIFY(ShowActive(Box, Box));
    QTest::keyClicks(&Box, QStringLiteral("2*(1+(3))"));
    QTest::keyClick(&Box, Qt::Key_Home);
    QTest::keyClick(&Box, Qt::Key_Right);
    QTest::keyClick(&Box, Qt::Key_Right); // before the first "("
    const auto Marked = [&Box] {
        QList<int> At;
        for (const auto& S : Box.extraSelections())
            At.append(S.cursor.selectionStart());
        return At;
    };
    QCOMPARE(Marked(), (QList<int>{2, 8}));
    QTest::keyClick(&Box, Qt::Key_Right);
    QTest::keyClick(&Box, Qt::Key_Right); // after "1": next to no bracket
    QCOMPARE(Marked(), QList<int>{});
    // An error's underline is a layer of its own: the two are shown together.
    QTextEdit::ExtraSelection Underline;
    Underline.cursor = QTextCursor(Box.document());
    SetSelectionLayer(Box, slError, {Underline});
    QTest::keyClick(&Box, Qt::Key_End);
    QCOMPARE(Box.extraSelections().size(), 3);
    Colorer.SetEnabled(false);
    QCOMPARE(Box.extraSelections().size(), 1);
}

QTEST_MAIN(TestSyntaxColors)
#include "TestSyntaxColors.moc"
