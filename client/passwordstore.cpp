#include "passwordstore.h"

#include "protocol/wire.h"

#include <QCoreApplication>
#include <qt6keychain/keychain.h>

namespace {
const QString kService = QStringLiteral("Vorkle");

// A job belongs to the application, not to the store: the secret
// service's backend still calls into a job after it answers, so a job
// freed with a store (a window closed before the answer) was used after
// it was freed. The store's connections end with the store; the job
// deletes itself once finished, and at the latest with the application.
template <typename Job> Job *newJob() {
    auto *job = new Job(kService, QCoreApplication::instance());
    job->setAutoDelete(true);
    // Without a secret service nothing may be written anywhere else.
    job->setInsecureFallback(false);
    return job;
}
} // namespace

PasswordStore::PasswordStore(QObject *parent) : QObject(parent) {}

QString PasswordStore::key(const QString &screenName) {
    return toc::normalizeScreenName(screenName);
}

void PasswordStore::probe() {
    auto *job = newJob<QKeychain::ReadPasswordJob>();
    job->setKey(QStringLiteral("vorkle-probe"));
    connect(job, &QKeychain::Job::finished, this, [this](QKeychain::Job *done) {
        // Not finding the entry is an answer: the service is there.
        m_available =
            done->error() == QKeychain::NoError || done->error() == QKeychain::EntryNotFound;
        m_reason = m_available ? QString()
                               : QStringLiteral("No secret store is available on this desktop (") +
                                     done->errorString() + QLatin1Char(')');
        emit availability(m_available);
    });
    job->start();
}

void PasswordStore::read(const QString &screenName) {
    if (!m_available || key(screenName).isEmpty())
        return;
    auto *job = newJob<QKeychain::ReadPasswordJob>();
    job->setKey(key(screenName));
    connect(job, &QKeychain::Job::finished, this, [this, screenName](QKeychain::Job *done) {
        const auto *read = static_cast<QKeychain::ReadPasswordJob *>(done);
        if (done->error() == QKeychain::NoError)
            emit passwordRead(screenName, read->textData());
    });
    job->start();
}

void PasswordStore::write(const QString &screenName, const QString &password) {
    if (!m_available || key(screenName).isEmpty())
        return;
    auto *job = newJob<QKeychain::WritePasswordJob>();
    job->setKey(key(screenName));
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this, [this](QKeychain::Job *done) {
        if (done->error() != QKeychain::NoError)
            emit failed(done->errorString());
    });
    job->start();
}

void PasswordStore::remove(const QString &screenName) {
    if (!m_available || key(screenName).isEmpty())
        return;
    auto *job = newJob<QKeychain::DeletePasswordJob>();
    job->setKey(key(screenName));
    job->start();
}
