#pragma once
// What the user reads when a command could not be sent.

#include <QString>

class QelTOCSock;

// "Not sent: you are offline." when the connection is down, "Not sent."
// when it is up but the command was refused (for example too long).
QString notSentText(const QelTOCSock *toc);
