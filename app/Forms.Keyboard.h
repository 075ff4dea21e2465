// The on-screen keyboard: a small tool window of 24 large buttons for typing
// numbers and operators with the mouse. It knows nothing of the input box: each
// button only fires one of the signals below, and whoever shows the keyboard
// turns them into edits. The window keeps its bounds in section "Keyboard" of
// the settings file, read when it is created and written when it is destroyed.
#pragma once
#include "ExtIni.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QPushButton;
class TWindowBounds;

class TKeyboardForm : public QWidget {
    Q_OBJECT
  public:
    // PopupParent (a Qt parent, so it owns the window) is the window the
    // keyboard stays above. IniFile is the settings file.
    TKeyboardForm(const QString& IniFile, QWidget* PopupParent);
    ~TKeyboardForm() override;

    // The one keyboard of the application, or null before the first is made.
    static TKeyboardForm* Instance() { return FInstance; }
    // A picker calls SuspendForm before it opens and ResumeForm after it
    // closes: the keyboard gets out of its way, and comes back only if it was
    // showing before.
    static void SuspendForm();
    static void ResumeForm();
    static bool Suspended() { return FSuspended; }

    // The outer bounds, frame included.
    TRect Bounds() const;

  signals:
    void OnInsertSymbol(QChar Symbol);
    void OnCursorMove(int Symbols); // characters to move, negative to the left
    void OnBackspace();
    void OnClear();
    void OnExecute();

  protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    void CreateButtons();
    void ScaleFont();

    QString FIniFile;
    QWidget* GridPanel1 = nullptr;
    QPushButton* Button7 = nullptr;
    TWindowBounds* FBounds = nullptr; // a child

    static inline QPointer<TKeyboardForm> FInstance;
    static inline bool FSuspended = false;
};
