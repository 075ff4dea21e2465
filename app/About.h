// The about box and the record it shows. The main window fills AboutInfo at
// the end of its start-up; the box only reads it.
#pragma once
#include <QDate>
#include <QDialog>
#include <QString>

struct TAboutInfo {
    QString Major;
    QString Minor;
    QString Build;
    QString Author;
    QString Homepage;
    QString License;
    QString Description;
    QDate Date;
};

extern TAboutInfo AboutInfo;

// "Major.Minor.Build (yyyy-mm-dd)".
QString VersionText(const TAboutInfo& Info);

class TAboutForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutForm(QWidget* Owner);
    // Creates the box, shows it modally and releases it.
    static void ShowDlg(QWidget* Owner);

  protected:
    void keyPressEvent(QKeyEvent* Event) override;
    // Enter and Esc in the description box act as a click on OK.
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};
