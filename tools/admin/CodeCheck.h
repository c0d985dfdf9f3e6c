#pragma once
// The rule that keeps the substring matching of permission masks sound:
// every user and group code begins with "$" and all have one width, so no
// code can match inside another's entry.
#include <QList>
#include <QString>

struct CodeProblem {
    QString owner; // "utilizador ana", "grupo Comercial"
    QString code;
    QString why;
};

struct CodeOwner {
    QString owner;
    QString code;
};

QList<CodeProblem> checkCodes(const QList<CodeOwner>& codes);
