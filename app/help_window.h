#pragma once

// The manual in a window of the program: the language bundle's HTML manual
// in a text browser with Back, Forward and Contents (the manual's index
// page, its table of contents). The manual of the bundle in use is shown;
// a bundle without one falls back to the English bundle's. Nothing is
// copied out of the bundle and no other program is started; a link that
// leads outside the manual (the web, e-mail) goes to the desktop's handler
// when the user follows it.
//
// Only the interface thread uses it.

#include <QMainWindow>
#include <QUrl>

#include <memory>

class QAction;
class QTextBrowser;
class ResourceLibrary;

class CHelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    ~CHelpWindow() override;

    // Loads the manual of `library` (or the English one) and shows its
    // contents page; false when no manual was found, the window then says so.
    bool ShowManual(const ResourceLibrary& library);

    // The one help window of the program, made on first use as a window of
    // its own owned by `parent`, shown on the contents page and raised.
    static CHelpWindow* Open(QWidget* parent);

    QTextBrowser* Browser() const { return m_browser; }
    QUrl Home() const { return m_home; }
    QAction* BackAction() const { return m_back; }
    QAction* ForwardAction() const { return m_forward; }
    QAction* ContentsAction() const { return m_contents; }

private:
    void FollowLink(const QUrl& url);
    void ShowTitle();

    QTextBrowser* m_browser = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_contents = nullptr;
    QUrl m_home;
    // The English bundle, held while its manual is shown in place of a
    // missing one.
    std::unique_ptr<ResourceLibrary> m_fallback;
};
