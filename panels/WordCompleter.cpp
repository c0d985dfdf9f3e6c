#include "panels/WordCompleter.h"

#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace {

const char16_t selectWords[] = u"SELECT descrit FROM %1 ORDER BY descrit";

} // namespace

WordCompleter::WordCompleter(QLineEdit* field, QString table, std::function<ado::Connection()> connection)
    : QObject(field), table_(std::move(table)), connection_(std::move(connection)),
      model_(new QStringListModel(this))
{
    auto* completer = new QCompleter(model_, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    field->setCompleter(completer);
    field->installEventFilter(this);
}

QStringList WordCompleter::words() const
{
    return model_->stringList();
}

bool WordCompleter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !read_)
        readWords();
    return QObject::eventFilter(watched, event);
}

// A catalog without the table, or a server that does not answer, offers no
// words: the field is typed as before.
void WordCompleter::readWords()
{
    read_ = true;
    QStringList words;
    try {
        ado::Connection c = connection_();
        if (c.State() != ado::adStateOpen)
            return;
        ado::Recordset rs;
        for (rs.Open(sql::compose(selectWords, {table_}), c); !rs.Eof(); rs.MoveNext())
            words << vb::CStr(rs(QStringLiteral("descrit")));
        rs.Close();
    } catch (const vb::Error&) {
        words.clear();
    }
    model_->setStringList(words);
}
