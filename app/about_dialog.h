#pragma once

// The About box: the version records of the program and of the language
// bundle in use, and two links, to the project's mailbox and web page.

#include <QColor>
#include <QDialog>
#include <QJsonObject>
#include <QLabel>
#include <QString>
#include <QStringList>

class QListWidget;

// The keys of a version record, in the order they are listed.
inline constexpr const char* kVersionKeys[] = {"ProductName",  "FileDescription", "ProductVersion",
                                               "FileVersion",  "CompanyName",     "LegalCopyright",
                                               "PrivateBuild", "SpecialBuild"};

// The program's own version record, in the form of the bundles'
// version.json: the keys above and "Version": [major, minor, patch, build].
QJsonObject ProgramVersionRecord();

// The lines a record adds to the list: the module's file name in capitals,
// "key: value" per key (empty when the record lacks it), then the numeric
// version "a.b.c.d". No lines at all for an empty record.
QStringList VersionLines(const QString& moduleFileName, const QJsonObject& record);

// A label that opens its target when clicked (or activated with Return or
// Space while it has the focus): underlined, blue until followed, purple
// after. A target that cannot be opened beeps and stays unfollowed.
class CHyperLink : public QLabel
{
    Q_OBJECT
public:
    static inline const QColor kLinkColor{0, 0, 255};
    static inline const QColor kFollowedColor{128, 0, 255};

    explicit CHyperLink(QWidget* parent = nullptr);

    // The address opened; the label's own text when empty.
    void SetTarget(const QString& target) { m_target = target; }
    QString Target() const { return m_target.isEmpty() ? text() : m_target; }
    bool IsFollowed() const { return m_followed; }

    // Opens the target as a click does; false (after a beep) when it
    // could not be opened.
    bool Follow();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyColor();

    QString m_target;
    bool m_followed = false;
};

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The version list (control 1064) and the links (1065, 1066).
    QListWidget* VersionList() const { return m_list; }
    CHyperLink* MailLink() const { return m_mail; }
    CHyperLink* WebLink() const { return m_web; }

private:
    QListWidget* m_list = nullptr;
    CHyperLink* m_mail = nullptr;
    CHyperLink* m_web = nullptr;
};
