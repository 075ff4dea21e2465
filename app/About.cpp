#include "About.h"

#include "Images.h"
#include "MiscLabels.h"
#include "Utils.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TAboutInfo AboutInfo;

namespace {
QLabel* AddCaption(QGridLayout& Grid, int Row, const char* Name, const char* Text, QWidget* Parent) {
    auto* Label = new QLabel(QString::fromLatin1(Text), Parent);
    Label->setObjectName(QString::fromLatin1(Name));
    QFont Bold = Label->font();
    Bold.setBold(true);
    Label->setFont(Bold);
    Grid.addWidget(Label, Row, 0, Qt::AlignTop);
    return Label;
}

QLabel* AddValue(QGridLayout& Grid, int Row, const char* Name, const QString& Text, QWidget* Parent) {
    auto* Label = new QLabel(Text, Parent);
    Label->setObjectName(QString::fromLatin1(Name));
    Grid.addWidget(Label, Row, 1);
    return Label;
}

// The logo opens its address when clicked.
class TLogo : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void mouseReleaseEvent(QMouseEvent* Event) override {
        QLabel::mouseReleaseEvent(Event);
        OpenDocument(toolTip());
    }
};
} // namespace

QString VersionText(const TAboutInfo& Info) {
    return QStringLiteral("%1.%2.%3 (%4)")
        .arg(Info.Major, Info.Minor, Info.Build, Info.Date.toString(Qt::ISODate));
}

TAboutForm::TAboutForm(QWidget* Owner) : QDialog(Owner) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About ") + QCoreApplication::applicationName());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    if (Owner) setWindowIcon(Owner->windowIcon());
    setFixedWidth(532);
    setMinimumHeight(239);
    setMaximumHeight(350);

    auto* Grid = new QGridLayout(this);
    Grid->setColumnStretch(1, 1);
    AddCaption(*Grid, 0, "Label2", "Application:", this);
    AddValue(*Grid, 0, "lblTitle", QCoreApplication::applicationName(), this);
    AddCaption(*Grid, 1, "Label3", "Version:", this);
    AddValue(*Grid, 1, "lblVersion", VersionText(AboutInfo), this);
    AddCaption(*Grid, 2, "Label5", "Author:", this);
    AddValue(*Grid, 2, "lblAuthor", AboutInfo.Author, this);
    AddCaption(*Grid, 3, "Label1", "Homepage:", this);
    auto* Homepage = new TUrlLabel(this);
    Homepage->setObjectName(QStringLiteral("lblHomepage"));
    Homepage->SetCaptionAndURL(AboutInfo.Homepage);
    Grid->addWidget(Homepage, 3, 1);
    AddCaption(*Grid, 4, "Label7", "License:", this);
    AddValue(*Grid, 4, "lblLicense", QStringLiteral("Free"), this);
    AddCaption(*Grid, 5, "Label6", "Description:", this);

    auto* Description = new QPlainTextEdit(AboutInfo.Description, this);
    Description->setObjectName(QStringLiteral("txtDescription"));
    Description->setReadOnly(true);
    Description->setFrameShape(QFrame::NoFrame);
    QPalette P = Description->palette();
    P.setColor(QPalette::Base, palette().color(QPalette::Window));
    Description->setPalette(P);
    Description->installEventFilter(this);
    Grid->addWidget(Description, 5, 1);

    auto* Logo = new TLogo(this);
    Logo->setObjectName(QStringLiteral("imgLogo"));
    Logo->setPixmap(AppIcon().pixmap(64, 64));
    Logo->setCursor(Qt::PointingHandCursor);
    Logo->setToolTip(AboutInfo.Homepage);
    Grid->addWidget(Logo, 0, 2, 3, 1, Qt::AlignTop | Qt::AlignRight);

    auto* Ok = new QPushButton(QStringLiteral("OK"), this);
    Ok->setObjectName(QStringLiteral("cmdOK"));
    Ok->setDefault(true);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
    Grid->addWidget(Ok, 6, 2, Qt::AlignRight);
    resize(532, 239);
}

void TAboutForm::ShowDlg(QWidget* Owner) {
    TAboutForm Form(Owner);
    Form.exec();
}

void TAboutForm::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape)
        accept(); // OK is the cancel button as well
    else
        QDialog::keyPressEvent(Event);
}

bool TAboutForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter || Key == Qt::Key_Escape) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}
