#include "HelpViewer.h"

#include "Utils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int DesignedWidth = 720;
constexpr int DesignedHeight = 640;
} // namespace

THelpViewer::THelpViewer(QWidget* Owner) : QWidget(Owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    HelpViewer = new QTextBrowser(this);
    HelpViewer->setObjectName(QStringLiteral("HelpViewer"));
    HelpViewer->setOpenExternalLinks(true); // relative and file links stay in the window
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(HelpViewer);
    connect(HelpViewer, &QTextBrowser::sourceChanged, this, &THelpViewer::SourceChanged);
    resize(DesignedWidth, DesignedHeight);
}

void THelpViewer::Open(const QString& Path) {
    HelpViewer->setSource(QUrl::fromLocalFile(QFileInfo(Path).absoluteFilePath()));
}

void THelpViewer::SourceChanged() {
    const QString Title = HelpViewer->documentTitle();
    setWindowTitle(Title.isEmpty() ? QCoreApplication::applicationName() : Title);
}

bool ShowHelp(QWidget* Parent, const QString& Path) {
    if (!QFileInfo(Path).isFile()) {
        WarningBox(QStringLiteral("The help file %s was not found."), {Path});
        return false;
    }
    if (OpenDocument(Path)) return true;
    THelpViewer* Viewer =
        Parent ? Parent->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!Viewer) Viewer = new THelpViewer(Parent);
    Viewer->Open(Path);
    Viewer->setWindowState(Viewer->windowState() & ~Qt::WindowMinimized);
    Viewer->show();
    Viewer->raise();
    Viewer->activateWindow();
    return false;
}
