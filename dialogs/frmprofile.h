#pragma once
// A buddy's profile page in a small window of its own, read by the same
// safe reader as messages: its text, styles, line breaks and links; no
// pictures, tables or layout, nothing loaded, never Qt's HTML engine.
// Links open in the desktop's browser on a click. A page that could not be
// fetched is said so.

#include <QUrl>
#include <QWidget>
#include <functional>

class QTextEdit;

class frmProfile : public QWidget {
    Q_OBJECT

  public:
    // say tells the user what went wrong outside the page (a link that no
    // browser could open).
    explicit frmProfile(QWidget *owner, std::function<void(const QString &)> say = {});

    void showPage(const QUrl &url, const QString &html);
    void showFailure(const QUrl &url, const QString &reason);
    QTextEdit *page() const { return m_page; }

  private:
    void present();
    QTextEdit *m_page = nullptr;
};
