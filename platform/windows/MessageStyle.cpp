#include "platform/windows/MessageStyle.h"

namespace platform {

using namespace msgbox;

MessageStyle decodeMessageStyle(int style)
{
    MessageStyle s;
    switch (style & 0x7) {
    case OKCancel:
        s.answers = {AnswerOK, AnswerCancel};
        s.escapeAnswer = AnswerCancel;
        break;
    case AbortRetryIgnore:
        s.answers = {AnswerAbort, AnswerRetry, AnswerIgnore};
        break;
    case YesNoCancel:
        s.answers = {AnswerYes, AnswerNo, AnswerCancel};
        s.escapeAnswer = AnswerCancel;
        break;
    case YesNo:
        s.answers = {AnswerYes, AnswerNo};
        break;
    case RetryCancel:
        s.answers = {AnswerRetry, AnswerCancel};
        s.escapeAnswer = AnswerCancel;
        break;
    default:
        s.answers = {AnswerOK};
        s.escapeAnswer = AnswerOK;
        break;
    }
    switch (style & 0x70) {
    case Critical:
        s.icon = MessageIcon::Critical;
        break;
    case Question:
        s.icon = MessageIcon::Question;
        break;
    case Exclamation:
        s.icon = MessageIcon::Exclamation;
        break;
    case Information:
        s.icon = MessageIcon::Information;
        break;
    default:
        s.icon = MessageIcon::None;
        break;
    }
    const int wanted = (style & 0xf00) >> 8;
    s.defaultIndex = wanted < int(s.answers.size()) ? wanted : 0;
    s.systemModal = (style & SystemModal) != 0;
    return s;
}

QString messageBoxTitle(const QString& title)
{
    return title.isEmpty() ? QString::fromUtf8(DefaultMessageTitle) : title;
}

QString messageBoxText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r')) {
            out += c;
            continue;
        }
        out += QLatin1Char('\n');
        // A pair of different break characters is one break.
        if (i + 1 < text.size() &&
            (text.at(i + 1) == QLatin1Char('\n') || text.at(i + 1) == QLatin1Char('\r')) &&
            text.at(i + 1) != c)
            ++i;
    }
    return out;
}

} // namespace platform
