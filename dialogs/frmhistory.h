#pragma once
// A person's past conversations from the history file: newest at the
// bottom, each line with its time, and a filter field that narrows to the
// lines containing its text. Remote text is shown as plain text, names as
// remote names are shown everywhere. The file is read off the window's
// thread, a page of matching lines at a time (bounded in lines and bytes),
// the newest first; "Older" and "Newer" turn the pages. The page's text is
// made on that thread too: the window's own only puts it in.

#include "client/historyread.h"

#include <QWidget>
#include <atomic>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;
class QTimer;
template <typename T> class QFutureWatcher;

class frmHistory : public QWidget {
    Q_OBJECT

  public:
    // The most lines, and bytes of text, a page holds.
    static constexpr int kPageLines = 5000;
    static constexpr qint64 kPageBytes = 2 * 1024 * 1024;

    frmHistory(const QString &path, const QString &partner, QWidget *owner);
    ~frmHistory() override;

    QLineEdit *filterField() const { return txtFilter; }
    QPlainTextEdit *linesView() const { return txtLines; }
    QPushButton *olderButton() const { return cmdOlder; }
    QPushButton *newerButton() const { return cmdNewer; }
    bool isReading() const { return m_read != nullptr; }

  signals:
    // A page was read and is on screen.
    void pageShown();

  private:
    // A page read and the text that shows it.
    struct Shown {
        HistoryPage page;
        QString text;
    };

    // Reads the page at the top of m_pages.
    void startRead();
    void showPage();
    void stopRead();

    const QString m_path;
    const QString m_partner;
    QLineEdit *txtFilter = nullptr;
    QPlainTextEdit *txtLines = nullptr;
    QLabel *labStatus = nullptr;
    QPushButton *cmdOlder = nullptr;
    QPushButton *cmdNewer = nullptr;
    QTimer *m_filterDelay = nullptr;
    QFutureWatcher<Shown> *m_read = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    // Where each page from the newest to the one shown begins.
    QList<HistoryCursor> m_pages{HistoryCursor()};
    HistoryCursor m_older; // where the page before the one shown begins
};
