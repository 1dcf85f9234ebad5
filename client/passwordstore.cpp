#include "passwordstore.h"

#include "protocol/wire.h"

#include <qt6keychain/keychain.h>

namespace {
const QString kService = QStringLiteral("Vorkle");

template <typename Job> Job *newJob(QObject *parent) {
    auto *job = new Job(kService, parent);
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
    auto *job = newJob<QKeychain::ReadPasswordJob>(this);
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
    auto *job = newJob<QKeychain::ReadPasswordJob>(this);
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
    auto *job = newJob<QKeychain::WritePasswordJob>(this);
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
    auto *job = newJob<QKeychain::DeletePasswordJob>(this);
    job->setKey(key(screenName));
    job->start();
}
