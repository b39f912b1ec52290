#include "app/about_dialog.h"

#include "app/version.h"
#include "framework/resource_library.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QJsonArray>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

QJsonObject ProgramVersionRecord()
{
    const QStringList parts = QString::fromLatin1(kProgramVersion).split(QLatin1Char('.'));
    QJsonArray numbers;
    for (int i = 0; i < 4; ++i) {
        numbers.append(parts.value(i).toInt());
    }
    const QString fileVersion = QStringLiteral("%1.%2.%3.%4")
                                    .arg(numbers[0].toInt())
                                    .arg(numbers[1].toInt())
                                    .arg(numbers[2].toInt())
                                    .arg(numbers[3].toInt());
    return QJsonObject{
        {QStringLiteral("ProductName"), QStringLiteral("Kaleidra")},
        {QStringLiteral("FileDescription"),
         QStringLiteral("Kaleidra, a desktop workshop for geometric fractals")},
        {QStringLiteral("ProductVersion"), QString::fromLatin1(kProgramVersion)},
        {QStringLiteral("FileVersion"), fileVersion},
        {QStringLiteral("CompanyName"), QStringLiteral("Kaleidra project")},
        {QStringLiteral("LegalCopyright"), QStringLiteral("Copyright (C) 2026 Kaleidra project")},
        {QStringLiteral("PrivateBuild"), QString()},
        {QStringLiteral("SpecialBuild"), QString()},
        {QStringLiteral("Version"), numbers},
    };
}

QStringList VersionLines(const QString& moduleFileName, const QJsonObject& record)
{
    QStringList lines;
    if (record.isEmpty()) {
        return lines;
    }
    lines.append(moduleFileName.toUpper());
    for (const char* key : kVersionKeys) {
        const QString name = QString::fromLatin1(key);
        lines.append(QStringLiteral("%1: %2").arg(name, record.value(name).toString()));
    }
    const QJsonArray version = record.value(QStringLiteral("Version")).toArray();
    lines.append(QStringLiteral("%1.%2.%3.%4")
                     .arg(version.at(0).toInt())
                     .arg(version.at(1).toInt())
                     .arg(version.at(2).toInt())
                     .arg(version.at(3).toInt()));
    return lines;
}

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    ApplyColor();
}

bool CHyperLink::Follow()
{
    const QUrl url = QUrl::fromUserInput(Target());
    if (!url.isValid() || !QDesktopServices::openUrl(url)) {
        QApplication::beep();
        return false;
    }
    m_followed = true;
    ApplyColor();
    return true;
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        (void)Follow();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        (void)Follow();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperLink::ApplyColor()
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, m_followed ? kFollowedColor : kLinkColor);
    setPalette(colors);
    update();
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    const UiResources& resources = UiResources::Current();
    setWindowTitle(resources.String(Res::Text::AboutCaption));

    auto* layout = new QVBoxLayout(this);
    auto* header = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(resources.Icon(Res::MainFrame).pixmap(32, 32));
    auto* title = new QLabel(resources.String(Res::Text::AboutTitle), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    title->setFont(big);
    header->addWidget(icon);
    header->addWidget(title, 1);
    layout->addLayout(header);
    layout->addWidget(new QLabel(resources.String(Res::Text::AboutTagline), this));

    auto* listLabel = new QLabel(resources.String(Res::Text::AboutVersions), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(Res::Control::AboutList));
    listLabel->setBuddy(m_list);
    const ResourceLibrary& library = ResourceLibrary::Instance();
    m_list->addItems(VersionLines(QString::fromLatin1(kProgramFileName), ProgramVersionRecord()));
    if (library.IsLoaded()) {
        m_list->addItems(VersionLines(QFileInfo(library.Path()).fileName(), library.Version()));
    }
    layout->addWidget(listLabel);
    layout->addWidget(m_list, 1);

    auto* links = new QGridLayout;
    m_mail = new CHyperLink(this);
    m_mail->setObjectName(QString::number(Res::Control::AboutMailLink));
    m_mail->setText(resources.String(Res::Text::AboutMailText));
    m_mail->SetTarget(resources.String(Res::Text::AboutMailTarget));
    m_web = new CHyperLink(this);
    m_web->setObjectName(QString::number(Res::Control::AboutWebLink));
    m_web->setText(resources.String(Res::Text::AboutWebText));
    m_web->SetTarget(resources.String(Res::Text::AboutWebTarget));
    links->addWidget(new QLabel(resources.String(Res::Text::AboutMailLabel), this), 0, 0);
    links->addWidget(m_mail, 0, 1);
    links->addWidget(new QLabel(resources.String(Res::Text::AboutWebLabel), this), 1, 0);
    links->addWidget(m_web, 1, 1);
    links->setColumnStretch(1, 1);
    layout->addLayout(links);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(460, 420);
}
