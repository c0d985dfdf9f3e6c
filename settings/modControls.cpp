#include "settings/modControls.h"

#include "connection/ConnectionState.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Conversions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace modControls {

namespace {

QString lookUpCandidate(ado::Connection& connection)
{
    ado::Recordset rs =
        connection.Execute(QStringLiteral("SELECT valor, variavel FROM tbConfig WHERE (variavel = "
                                          "N'FXFontName' OR variavel = N'FXFontSize') AND module_id = 3"));
    QString candidate;
    for (; !rs.Eof(); rs.MoveNext())
        if (vb::CStr(rs(QStringLiteral("variavel"))) == QLatin1String("FXFontName") &&
            !rs(QStringLiteral("valor")).isNull())
            candidate = vb::CStr(rs(QStringLiteral("valor")));
    rs.Close();
    return candidate;
}

QString installedMatch(const QString& candidate)
{
    for (const QString& family : QFontDatabase::families())
        if (family.compare(candidate, Qt::CaseInsensitive) == 0)
            return candidate;
    return {};
}

// Labels, line edits, check boxes, radio buttons, combo boxes and list
// widgets, and five further text-bearing kinds: tables, trees, plain and
// rich text editors, and group-box titles.
bool receivesFont(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QListWidget*>(w) ||
           qobject_cast<const QTableWidget*>(w) || qobject_cast<const QTreeWidget*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QGroupBox*>(w);
}

} // namespace

QString& ConfiguredFontName()
{
    static QString name;
    return name;
}

bool ApplyConfiguredFont(QWidget* form, const ado::Connection& given)
{
    try {
        ado::Connection connection = given.isNothing() ? Data().SqlServer : given;
        if (!form || connection.State() != ado::adStateOpen)
            return false;
        QString& name = ConfiguredFontName();
        if (name.isEmpty())
            name = installedMatch(lookUpCandidate(connection));
        if (name.isEmpty() || name == QLatin1String("MS Sans Serif"))
            return false;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (!receivesFont(w))
                continue;
            QFont font = w->font();
            font.setFamily(name);
            w->setFont(font);
        }
        return true;
    } catch (const vb::Error&) {
        return false;
    }
}

} // namespace modControls
