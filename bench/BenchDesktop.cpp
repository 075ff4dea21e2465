// The desktop calculator on the W1 program, beside the console runner.
//
// The main window runs offscreen with a private state folder. Each round puts
// the W1 text into Memo1, triggers ParserEvaluate and waits until the output
// box holds every line and the pending layout and paint events are done; the
// same text is then run by sumtra-cli (a whole process, start-up included, as
// compare.py times it). Prints the median of each and their ratio.
//
// Then the export of the last W1 run as Markdown, HTML and CSV (median of the
// rounds), through the window's own export.
//
// Then a keystroke in the middle of the same 20,000 lines: the time from the
// key event until the box has re-coloured and repainted, with syntax colours
// on and off (median and 90th percentile of typed characters and backspaces):
// once as the box repaints by itself (the lines the edit touched), once with
// the whole visible box repainted after each key.
//
// Usage: sumtra-bench-desktop [--cli PATH] [--runs N] [--w1-only]
// (the default PATH is sumtra-cli beside this program; --w1-only stops after
// the W1 rounds, for a profile of them alone).
//
// Then live results on the first 1,000 lines of W1: a keystroke with live
// results on (it only restarts the pause), and the run that follows the pause,
// which is the longest a key typed meanwhile could wait.
//
// Then name completion: a run defines 10,000 variables, and each round times
// a Ctrl+Space sent to the input box holding "v" until the completion list is
// shown with all of them as rows and drawn.
#include "Main.h"
#include "Memo.h"
#include "Workloads.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {
double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    const std::size_t N = V.size();
    return N % 2 ? V[N / 2] : (V[N / 2 - 1] + V[N / 2]) / 2;
}

// Milliseconds from the trigger until Memo2 holds Lines lines and no event is left.
double DesktopRun(TMainForm& Form, TMemo& Output, int Lines) {
    QElapsedTimer Clock;
    Clock.start();
    Form.Action(QStringLiteral("ParserEvaluate"))->trigger();
    while (Output.document()->blockCount() < Lines)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    Output.viewport()->repaint(); // the visible lines are drawn before the clock stops
    return Clock.nsecsElapsed() / 1e6;
}

long MinorFaults() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_minflt;
}

double Percentile(std::vector<double> V, double Share) {
    std::sort(V.begin(), V.end());
    return V[static_cast<std::size_t>(Share * static_cast<double>(V.size() - 1))];
}

// Milliseconds of each of Rounds keystrokes (a letter, then a backspace) on
// lines in the middle of Input, from the key event to the repainted box.
std::vector<double> Keystrokes(TMemo& Input, int Rounds, bool WholeBox) {
    std::vector<double> Ms;
    const int Middle = Input.document()->blockCount() / 2;
    for (int R = 0; R < Rounds; ++R) {
        QTextCursor At(Input.document()->findBlockByNumber(Middle + R % 50));
        At.movePosition(QTextCursor::EndOfBlock);
        Input.setTextCursor(At);
        Input.ensureCursorVisible();
        QCoreApplication::processEvents();
        for (const auto& [Key, Text] : {std::pair{Qt::Key_X, QStringLiteral("x")}, std::pair{Qt::Key_Backspace, QString()}}) {
            QElapsedTimer Clock;
            Clock.start();
            QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
            QCoreApplication::sendEvent(&Input, &Press);
            QCoreApplication::processEvents(); // the box's own repaint of what changed
            if (WholeBox) Input.viewport()->repaint();
            Ms.push_back(Clock.nsecsElapsed() / 1e6);
        }
    }
    return Ms;
}

// Milliseconds from a Ctrl+Space to Input until Popup shows Rows rows, drawn;
// negative when Esc then leaves it open.
double CompletionRun(TMemo& Input, QListView& Popup, int Rows) {
    QElapsedTimer Clock;
    Clock.start();
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(&Input, &Press);
    while (!Popup.isVisible() || Popup.model()->rowCount() < Rows)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    Popup.viewport()->repaint();
    const double Ms = Clock.nsecsElapsed() / 1e6;
    QKeyEvent Esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&Input, &Esc);
    return Popup.isVisible() ? -1 : Ms; // Esc must close it, or the next round times nothing
}

// Milliseconds of one whole sumtra-cli run on Path, or a negative number when
// it failed or printed another number of lines.
double ConsoleRun(const QString& Cli, const QString& Path, int Lines) {
    QProcess P;
    QElapsedTimer Clock;
    Clock.start();
    P.start(Cli, {Path});
    if (!P.waitForFinished(60000) || P.exitCode() != 0) return -1;
    const double Ms = Clock.nsecsElapsed() / 1e6;
    return P.readAllStandardOutput().count('\n') == Lines ? Ms : -1;
}
} // namespace

int main(int Argc, char** Argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(Argc, Argv);
    QString Cli = QCoreApplication::applicationDirPath() + QStringLiteral("/sumtra-cli");
    int Runs = 5;
    const QStringList Args = QCoreApplication::arguments();
    const bool W1Only = Args.contains(QStringLiteral("--w1-only"));
    for (int I = 1; I + 1 < Args.size(); ++I) {
        if (Args[I] == QStringLiteral("--cli")) Cli = Args[++I];
        else if (Args[I] == QStringLiteral("--runs")) Runs = std::max(1, Args[++I].toInt());
    }

    const TWorkload W1 = MakeWorkload(wkIndependent, lgSumtra);
    QTemporaryDir State;
    const QString Path = State.filePath(QStringLiteral("w1.txt"));
    QFile File(Path);
    if (!File.open(QIODevice::WriteOnly) || File.write(W1.Text.data(), static_cast<qint64>(W1.Text.size())) !=
                                                static_cast<qint64>(W1.Text.size()))
        return std::fprintf(stderr, "cannot write %s\n", qPrintable(Path)), 2;
    File.close();

    // The window would warn about a missing symbol map (and the like) in a modal
    // box that nobody answers offscreen: the shipped map goes into the state
    // folder, and every box that opens anyway is closed and reported.
    QFile::copy(QStringLiteral(SUMTRA_SYMBOL_MAP), State.filePath(QStringLiteral("SymbolMap.txt")));
    QTimer Dismiss;
    QObject::connect(&Dismiss, &QTimer::timeout, [] {
        auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!Dialog) return;
        auto* Box = qobject_cast<QMessageBox*>(Dialog);
        std::fprintf(stderr, "closed a dialog: %s\n", Box ? qPrintable(Box->text()) : "");
        Dialog->reject();
    });
    Dismiss.start(10);

    TMainForm Form(State.path());
    Form.resize(800, 600);
    Form.show();
    TMemo* Input = Form.findChild<TMemo*>(QStringLiteral("Memo1"));
    TMemo* Output = Form.findChild<TMemo*>(QStringLiteral("Memo2"));
    if (!Input || !Output) return std::fprintf(stderr, "Memo1 or Memo2 missing\n"), 2;
    Input->setPlainText(QString::fromUtf8(W1.Text.data(), static_cast<qsizetype>(W1.Text.size())));
    QCoreApplication::processEvents();

    std::vector<double> Desktop, Console, Faults;
    for (int R = 0; R < Runs; ++R) {
        Output->clear();
        QCoreApplication::processEvents();
        const long FaultsBefore = MinorFaults();
        Desktop.push_back(DesktopRun(Form, *Output, W1.Statements));
        Faults.push_back(static_cast<double>(MinorFaults() - FaultsBefore));
        if (Output->document()->blockCount() != W1.Statements)
            return std::fprintf(stderr, "the output box holds %d lines, not %d\n",
                                Output->document()->blockCount(), W1.Statements),
                   1;
        const double C = ConsoleRun(Cli, Path, W1.Statements);
        if (C < 0) return std::fprintf(stderr, "%s failed on %s\n", qPrintable(Cli), qPrintable(Path)), 1;
        Console.push_back(C);
    }
    const double D = Median(Desktop);
    const double C = Median(Console);
    std::printf("W1, %d statements, %d runs: desktop %.1f ms (%.0f page faults), sumtra-cli %.1f ms, ratio %.2f\n",
                W1.Statements, Runs, D, Median(Faults), C, D / C);
    if (W1Only) return 0;

    // Export of the last W1 run, rendered and written.
    for (const char* Suffix : {"md", "html", "csv"}) {
        std::vector<double> Ms;
        const QString Sheet = State.filePath(QStringLiteral("w1.") + QLatin1String(Suffix));
        for (int R = 0; R < Runs; ++R) {
            QElapsedTimer Clock;
            Clock.start();
            Form.ExportTo(Sheet);
            Ms.push_back(Clock.nsecsElapsed() / 1e6);
        }
        if (QFileInfo(Sheet).size() < W1.Statements * 10)
            return std::fprintf(stderr, "the export to %s is too short\n", qPrintable(Sheet)), 1;
        std::printf("export of %d rows as %s: %.1f ms\n", W1.Statements, Suffix, Median(Ms));
    }

    QAction* Colours = Form.Action(QStringLiteral("ViewSyntaxColors"));
    const QString Before = Input->toPlainText();
    for (const bool On : {true, false}) {
        if (Colours->isChecked() != On) Colours->trigger();
        QCoreApplication::processEvents();
        for (const bool WholeBox : {false, true}) {
            const std::vector<double> Ms = Keystrokes(*Input, 100, WholeBox);
            std::printf("keystroke in %d lines, syntax colours %s, %s: median %.2f ms, 90th percentile %.2f ms\n",
                        Input->document()->blockCount(), On ? "on" : "off",
                        WholeBox ? "whole box repainted" : "changed line repainted", Median(Ms), Percentile(Ms, 0.9));
        }
    }
    if (Input->toPlainText() != Before) return std::fprintf(stderr, "the keystrokes changed the text\n"), 1;
    if (!Colours->isChecked()) Colours->trigger();

    QAction* Live = Form.Action(QStringLiteral("ViewLiveResults"));
    QStringList Sheet = Before.split(u'\n');
    Sheet.resize(1000);
    Input->setPlainText(Sheet.join(u'\n'));
    Live->trigger();
    QCoreApplication::processEvents();
    const std::vector<double> LiveKeys = Keystrokes(*Input, 50, false);
    std::vector<double> LiveRuns;
    const auto Current = [Input, Output] { return Output->FontColor() == Input->FontColor(); };
    for (int R = 0; R < 9; ++R) {
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QElapsedTimer Clock;
        Clock.start();
        QCoreApplication::sendEvent(Input, &Press);
        while (!Current())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        Output->viewport()->repaint();
        LiveRuns.push_back(Clock.nsecsElapsed() / 1e6 - 300);
    }
    Live->trigger();
    std::printf("live results on 1,000 lines: keystroke median %.2f ms, 90th percentile %.2f ms; "
                "run after the pause %.1f ms (median of %zu)\n",
                Median(LiveKeys), Percentile(LiveKeys, 0.9), Median(LiveRuns), LiveRuns.size());

    constexpr int Names = 10000;
    QString Definitions;
    for (int I = 0; I < Names; ++I)
        Definitions += QStringLiteral("v%1 := %2\n").arg(I, 5, 10, QChar(u'0')).arg(I);
    Input->setPlainText(Definitions);
    Output->clear();
    DesktopRun(Form, *Output, Names);
    auto* Popup = Form.findChild<QListView*>(QStringLiteral("CompletionPopup"));
    if (!Popup) return std::fprintf(stderr, "CompletionPopup missing\n"), 2;
    Input->setPlainText(QStringLiteral("v"));
    Input->moveCursor(QTextCursor::End);
    Input->setFocus();
    QCoreApplication::processEvents();
    std::vector<double> Completion;
    for (int R = 0; R < std::max(Runs, 9); ++R) {
        Completion.push_back(CompletionRun(*Input, *Popup, Names));
        if (Completion.back() < 0) return std::fprintf(stderr, "Esc left the completion list open\n"), 1;
    }
    std::printf("completion list of %d names, %zu rounds: %.1f ms from Ctrl+Space until shown\n", Names,
                Completion.size(), Median(Completion));
    return 0;
}
