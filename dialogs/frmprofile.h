#pragma once
// A buddy's profile page in a small window of its own, as restricted rich
// text: no scripts, no pictures or other resources fetched, links opened
// in the desktop's browser. A page that could not be fetched is said so.

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class frmProfile : public QWidget {
    Q_OBJECT

  public:
    explicit frmProfile(QWidget *owner);

    void showPage(const QUrl &url, const QString &html);
    void showFailure(const QUrl &url, const QString &reason);
    QTextBrowser *browser() const { return m_browser; }

  private:
    void present();
    QTextBrowser *m_browser = nullptr;
};
