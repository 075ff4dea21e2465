#include "AppTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <csignal>

#include <sys/fsuid.h>
#include <sys/resource.h>
#include <unistd.h>

char* toString(const TRect& R) {
    return qstrdup(
        QStringLiteral("{%1, %2, %3, %4}").arg(R.Left).arg(R.Top).arg(R.Right).arg(R.Bottom).toUtf8());
}

void WriteUtf16File(const QString& FileName, const QString& Text) {
    QString Content = Text;
    Content.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QByteArray Bytes("\xFF\xFE", 2);
    for (QChar C : Content) {
        Bytes.append(static_cast<char>(C.unicode() & 0xFF));
        Bytes.append(static_cast<char>(C.unicode() >> 8));
    }
    QFile File(FileName);
    if (!File.open(QIODevice::WriteOnly) || File.write(Bytes) != Bytes.size())
        qFatal("cannot write test file");
}

QByteArray ReadBytes(const QString& FileName) {
    QFile File(FileName);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

QString Utf16Text(const QByteArray& Bytes) {
    QString Text;
    for (qsizetype I = Bytes.startsWith("\xFF\xFE") ? 2 : 0; I + 1 < Bytes.size(); I += 2)
        Text += QChar(static_cast<char16_t>(static_cast<unsigned char>(Bytes[I]) |
                                            static_cast<unsigned char>(Bytes[I + 1]) << 8));
    return Text;
}

TModalAnswer::TModalAnswer(std::function<void(QWidget*)> Answer) : FTimer(std::make_unique<QTimer>()) {
    // The answer runs from a queued call, not from the timer's own slot: Qt
    // does not fire a timer again while its slot runs, so a box that the
    // answer opens (say "File not found" from QFileDialog::accept) would
    // never be answered. A dialog that the answer fails to close (a failed
    // check inside it, a box it did not expect) is rejected with a warning
    // after a second of tries, so the test goes on and fails on what it
    // checks next instead of waiting in exec() forever.
    struct TState {
        QPointer<QWidget> Last;
        int Tries = 0;
        bool Pending = false;
    };
    auto State = std::make_shared<TState>();
    QTimer* Timer = FTimer.get();
    QObject::connect(Timer, &QTimer::timeout, [Answer, Count = FCount, Texts = FTexts, State, Timer] {
        if (State->Pending) return;
        QWidget* Modal = QApplication::activeModalWidget();
        if (!Modal) {
            State->Last = nullptr;
            return;
        }
        State->Tries = Modal == State->Last ? State->Tries + 1 : 0;
        State->Last = Modal;
        if (auto* Dialog = qobject_cast<QDialog*>(Modal); Dialog && State->Tries >= 100) {
            qWarning("a modal dialog stayed open after its answer: %s", Dialog->metaObject()->className());
            Dialog->reject();
            return;
        }
        State->Pending = true;
        QMetaObject::invokeMethod(
            Timer,
            [Answer, Count, Texts, State, Modal = QPointer<QWidget>(Modal)] {
                State->Pending = false;
                if (!Modal) return;
                if (auto* Box = qobject_cast<QMessageBox*>(Modal.data())) Texts->append(Box->text());
                ++*Count;
                Answer(Modal);
            },
            Qt::QueuedConnection);
    });
    FTimer->start(10);
}

TModalAnswer DismissDialogs() {
    return TModalAnswer([](QWidget* Modal) {
        auto* Dialog = qobject_cast<QDialog*>(Modal);
        if (!Dialog) return;
        if (qobject_cast<QMessageBox*>(Dialog))
            Dialog->done(QMessageBox::Ok);
        else
            Dialog->reject();
    });
}

TStateFolder::TStateFolder() {
    if (!FDir.isValid()) qFatal("no temporary folder");
    WriteUtf16File(Path(QStringLiteral("SymbolMap.txt")), QStringLiteral("a\u03B1\u0430"));
}

QString TStateFolder::IniFile() const {
    return Path(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                QStringLiteral(".ini"));
}

QString TStateFolder::ReadIni() const {
    return QString::fromUtf8(ReadBytes(IniFile()));
}

bool ShowActive(QWidget& Window, QWidget& Focus) {
    Window.show();
    Window.activateWindow();
    // The offscreen platform keeps a re-created or re-shown window focused
    // without telling the widgets, so they do not learn that it is active again.
    if (QTest::qWaitForWindowActive(Window.windowHandle()) && !QApplication::activeWindow())
        QApplication::setActiveWindow(&Window);
    if (!QTest::qWaitForWindowActive(&Window)) return false;
    Focus.setFocus();
    return Focus.hasFocus();
}

TAsOrdinaryUser::TAsOrdinaryUser() {
    if (geteuid() != 0) {
        FActive = true;
        return;
    }
    constexpr uid_t Nobody = 65534;
    setfsgid(Nobody);
    setfsuid(Nobody);
    FSwitched = true;
    FActive = setfsuid(static_cast<uid_t>(-1)) == Nobody; // an invalid id only asks
}

TAsOrdinaryUser::~TAsOrdinaryUser() {
    if (!FSwitched) return;
    setfsuid(0);
    setfsgid(0);
}

TFullDisk::TFullDisk(long MaxBytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    rlimit Limit{};
    getrlimit(RLIMIT_FSIZE, &Limit);
    FOldSoft = Limit.rlim_cur;
    Limit.rlim_cur = static_cast<rlim_t>(MaxBytes);
    setrlimit(RLIMIT_FSIZE, &Limit);
}

TFullDisk::~TFullDisk() {
    rlimit Limit{};
    getrlimit(RLIMIT_FSIZE, &Limit);
    Limit.rlim_cur = static_cast<rlim_t>(FOldSoft);
    setrlimit(RLIMIT_FSIZE, &Limit);
    std::signal(SIGXFSZ, FOldHandler);
}
