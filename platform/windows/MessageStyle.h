#pragma once
// VB's MsgBox style bits and answers, and how a box shows its texts.
#include <QString>
#include <vector>

namespace platform {

namespace msgbox {
// Buttons (the low bits).
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
// Icon.
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
// Default button.
inline constexpr int DefaultButton1 = 0;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
// Modality.
inline constexpr int ApplicationModal = 0;
inline constexpr int SystemModal = 4096;

// Answers.
inline constexpr int AnswerOK = 1;
inline constexpr int AnswerCancel = 2;
inline constexpr int AnswerAbort = 3;
inline constexpr int AnswerRetry = 4;
inline constexpr int AnswerIgnore = 5;
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;
} // namespace msgbox

enum class MessageIcon { None, Critical, Question, Exclamation, Information };

struct MessageStyle {
    std::vector<int> answers; // one per button, left to right
    MessageIcon icon = MessageIcon::None;
    int defaultIndex = 0; // into answers
    int escapeAnswer = 0; // what Escape gives; 0: Escape does nothing
    bool systemModal = false;
};

MessageStyle decodeMessageStyle(int style);

// The box's title: the one given, or the application's own when left empty.
QString messageBoxTitle(const QString& title);
inline constexpr char DefaultMessageTitle[] = "Contactos Quarvenses";

// The box's text with the system's line breaks ("\n\r", also "\r\n", a lone
// "\n" or "\r") each shown as one line break.
QString messageBoxText(const QString& text);

} // namespace platform
