#include "frmhistory.h"

#include "uikit/shownname.h"
#include "views/historytext.h"
#include "views/messagescan.h"

#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPromise>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace {
// A filter is read once the typing pauses, not at every key.
constexpr int kFilterPauseMs = 200;
} // namespace

frmHistory::frmHistory(const QString &path, const QString &partner, QWidget *owner)
    : QWidget(owner, Qt::Window), m_path(path), m_partner(partner) {
    setObjectName(QStringLiteral("frmHistory"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("History with ") + shown::name(partner));
    resize(520, 420);
    // Esc closes it, as it closes any window that only shows something.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);

    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(QStringLiteral("Show only lines containing..."));
    txtFilter->setClearButtonEnabled(true);
    txtLines = new QPlainTextEdit(this);
    txtLines->setObjectName(QStringLiteral("txtLines"));
    txtLines->setReadOnly(true);
    txtLines->setUndoRedoEnabled(false);
    labStatus = new QLabel(this);
    labStatus->setObjectName(QStringLiteral("labStatus"));
    labStatus->setTextFormat(Qt::PlainText);
    cmdOlder = new QPushButton(QStringLiteral("Older"), this);
    cmdOlder->setObjectName(QStringLiteral("cmdOlder"));
    cmdNewer = new QPushButton(QStringLiteral("Newer"), this);
    cmdNewer->setObjectName(QStringLiteral("cmdNewer"));
    cmdOlder->setEnabled(false);
    cmdNewer->setEnabled(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(labStatus, 1);
    bottom->addWidget(cmdOlder);
    bottom->addWidget(cmdNewer);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtFilter);
    layout->addWidget(txtLines, 1);
    layout->addLayout(bottom);

    m_filterDelay = new QTimer(this);
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(kFilterPauseMs);
    connect(m_filterDelay, &QTimer::timeout, this, [this] {
        m_pages = {HistoryCursor()};
        startRead();
    });
    connect(cmdOlder, &QPushButton::clicked, this, [this] {
        m_pages.append(m_older);
        startRead();
    });
    connect(cmdNewer, &QPushButton::clicked, this, [this] {
        if (m_pages.size() > 1)
            m_pages.removeLast();
        startRead();
    });
    connect(txtFilter, &QLineEdit::textChanged, m_filterDelay, qOverload<>(&QTimer::start));
    startRead();
}

frmHistory::~frmHistory() {
    stopRead();
}

void frmHistory::stopRead() {
    if (m_cancel)
        m_cancel->store(true);
    // The task may still run; its result goes nowhere.
    delete std::exchange(m_read, nullptr);
}

void frmHistory::startRead() {
    stopRead();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    labStatus->setText(QStringLiteral("Reading..."));
    cmdOlder->setEnabled(false);
    cmdNewer->setEnabled(false);
    HistoryQuery query{m_path,     m_partner,         false,      txtFilter->text(),
                       kPageLines, render::plainText, kPageBytes, m_pages.last()};
    auto promise = std::make_shared<QPromise<Shown>>();
    m_read = new QFutureWatcher<Shown>(this);
    connect(m_read, &QFutureWatcherBase::finished, this, &frmHistory::showPage);
    m_read->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, query, cancel = m_cancel] {
        promise->start();
        Shown shown{readConversation(query, cancel.get()), QString()};
        shown.text = render::historyPageText(shown.page.lines);
        promise->addResult(std::move(shown));
        promise->finish();
    });
}

void frmHistory::showPage() {
    QFutureWatcher<Shown> *done = std::exchange(m_read, nullptr);
    Shown shown = done->future().takeResult();
    const HistoryPage &page = shown.page;
    done->deleteLater();
    txtLines->setPlainText(shown.text);
    txtLines->verticalScrollBar()->setValue(txtLines->verticalScrollBar()->maximum());
    m_older = page.older;
    cmdOlder->setEnabled(page.more);
    cmdNewer->setEnabled(m_pages.size() > 1);
    if (!page.error.isEmpty())
        labStatus->setText(QStringLiteral("The history could not be read: ") + page.error);
    else if (page.more || m_pages.size() > 1)
        labStatus->setText(QStringLiteral("%1 lines; \"Older\" and \"Newer\" turn the pages.")
                               .arg(page.lines.size()));
    else
        labStatus->setText(page.lines.isEmpty()
                               ? QStringLiteral("No lines.")
                               : QStringLiteral("%1 lines.").arg(page.lines.size()));
    emit pageShown();
}
