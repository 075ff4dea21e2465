// The program's own help window, for a desktop that cannot open the help page
// itself. It shows the page read-only as Qt's rich text, which covers the help
// page's HTML but not all of its style sheet. Links within the help (anchors
// and other pages beside it) are followed in the window; links elsewhere, such
// as web addresses, are handed to the desktop.
#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

class THelpViewer : public QWidget {
    Q_OBJECT
  public:
    // A top-level window even with an Owner, so minimising the owner leaves it
    // on screen; it is deleted when closed, or with its owner.
    explicit THelpViewer(QWidget* Owner);
    void Open(const QString& Path); // the page file to show

  private:
    void SourceChanged();

    QTextBrowser* HelpViewer = nullptr;
};

// Hands the help page at Path to the desktop and, when the desktop cannot open
// it, shows it in Parent's help window instead, opening one if Parent has none.
// A missing page is reported in the warning box. True when the desktop took
// the page.
bool ShowHelp(QWidget* Parent, const QString& Path);
