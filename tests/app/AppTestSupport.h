// Helpers shared by the shell's Qt tests: files in the calculator's encodings,
// and answering the modal dialogs a command opens.
#pragma once
#include "ExtIni.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

class QWidget;

Q_DECLARE_METATYPE(TRect)
char* toString(const TRect& R); // for QCOMPARE messages

// Writes Text as UTF-16LE with a byte-order mark and CR LF line breaks.
void WriteUtf16File(const QString& FileName, const QString& Text);
QByteArray ReadBytes(const QString& FileName);
QString Utf16Text(const QByteArray& Bytes); // decodes UTF-16LE, byte-order mark removed

// While it lives, calls Answer with each modal dialog that opens; Answer must
// close it. Message-box texts are recorded.
class TModalAnswer {
  public:
    explicit TModalAnswer(std::function<void(QWidget*)> Answer);
    int Count() const { return *FCount; }
    const QStringList& Texts() const { return *FTexts; }

  private:
    std::unique_ptr<QTimer> FTimer;
    std::shared_ptr<int> FCount = std::make_shared<int>(0);
    std::shared_ptr<QStringList> FTexts = std::make_shared<QStringList>();
};

// Closes every modal dialog: message boxes with OK, others with Cancel.
TModalAnswer DismissDialogs();

// A fresh state folder for a main window, holding a small symbol map so that
// no warning box opens at start-up.
class TStateFolder {
  public:
    TStateFolder();
    QString Dir() const { return FDir.path(); }
    QString Path(const QString& Name) const { return FDir.filePath(Name); }
    QString IniFile() const; // named after the test executable, as the calculator names its own
    QString ReadIni() const;

  private:
    QTemporaryDir FDir;
};

// Shows Window, makes it the active window and checks that Focus has the
// focus, so keys sent to Focus reach it as typed keys do.
bool ShowActive(QWidget& Window, QWidget& Focus);

// Fault injection for the state files. While a TAsOrdinaryUser lives, file
// permissions stop this thread as they stop an ordinary user, also when the
// tests run as root (whom they do not stop otherwise): its file-system user
// becomes "nobody". Active() is false where that is not possible.
class TAsOrdinaryUser {
  public:
    TAsOrdinaryUser();
    ~TAsOrdinaryUser();
    TAsOrdinaryUser(const TAsOrdinaryUser&) = delete;
    TAsOrdinaryUser& operator=(const TAsOrdinaryUser&) = delete;
    bool Active() const { return FActive; }

  private:
    bool FActive = false;
    bool FSwitched = false;
};

// While it lives, no file of the process can grow beyond MaxBytes: a write past
// it fails (EFBIG) as a write to a full disk does.
class TFullDisk {
  public:
    explicit TFullDisk(long MaxBytes);
    ~TFullDisk();
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;

  private:
    unsigned long long FOldSoft; // rlim_t
    void (*FOldHandler)(int);
};
