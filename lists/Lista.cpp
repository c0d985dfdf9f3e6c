#include "lists/Lista.h"

#include "platform/values/Conversions.h"
#include "platform/values/Format.h"
#include "platform/values/Twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScopeGuard>
#include <QTreeWidget>
#include <utility>

// "Estão listados 3 registos.", and in the singular for one.
QString Lista::countLine(int rows)
{
    return rows == 1
               ? QStringLiteral("Está listado 1 registo.")
               : QStringLiteral("Estão listados ") + QString::number(rows) + QStringLiteral(" registos.");
}

namespace {

constexpr int keyRole = Qt::UserRole + 1;
constexpr int duplicateKey = 35602;

Qt::Alignment alignmentOf(qint32 code)
{
    return code == 1 ? Qt::AlignRight : (code == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
}

} // namespace

Lista::Lista(QObject* parent) : QObject(parent) {}

void Lista::Clear()
{
    Recordset = ado::Recordset::nothing();
    removeItems();
    setViewStyle(0);
}

QString Lista::TransEmpty(const vb::Variant& Valor)
{
    return Valor.isNull() || Valor.isEmpty() ? QString() : vb::CStr(Valor);
}

int Lista::headerCount() const
{
    for (int i = 0; i < 100; ++i)
        if (headers_[i].field.isEmpty())
            return i;
    return 100;
}

bool Lista::writeHeader(int slot, const QString& field, const QString& label, qint32 size, qint32 align,
                        const QString& format)
{
    if (field.isEmpty()) {
        fail(1, QStringLiteral("Field não especificado"));
        return false;
    }
    if (slot < 0 || slot >= 100) {
        fail(9, QStringLiteral("Subscript out of range"));
        return false;
    }
    Header& h = headers_[slot];
    h.field = field;
    if (!label.isEmpty())
        h.caption = label;
    if (size != 0)
        h.width = size;
    if (slot == 0)
        h.align = 0;
    else if (align != 0)
        h.align = align;
    if (!format.isEmpty())
        h.format = format;
    return true;
}

bool Lista::AddHeader(const QString& Field, const QString& Label, qint32 Size, qint32 Align,
                      const QString& Format)
{
    if (!writeHeader(writePosition_, Field, Label, Size, Align, Format))
        return false;
    ++writePosition_;
    return true;
}

bool Lista::EditHeader(qint32 index, const QString& Field, const QString& Label, qint32 Size, qint32 Align,
                       const QString& Format)
{
    return writeHeader(index, Field, Label, Size, Align, Format);
}

void Lista::ClearHeaders()
{
    writePosition_ = 0;
    if (List) {
        List->setColumnCount(0);
        List->setHeaderLabels({});
    }
}

bool Lista::AddCondition(const QString& Field, const vb::Variant& Value, qint32 ImageIndex)
{
    if (Field.isEmpty() || ImageIndex == 0 || conditionCount_ >= 100)
        return false;
    conditions_[conditionCount_++] = {Field, Value, ImageIndex};
    return true;
}

void Lista::ClearConditions()
{
    conditionCount_ = 0;
}

QString Lista::ConvertKey(const QString& key)
{
    return key.left(key.size() - 1);
}

void Lista::Fill_Headers()
{
    if (!List)
        return;
    const int count = headerCount();
    List->setColumnCount(count);
    QStringList captions;
    for (int i = 0; i < count; ++i)
        captions.append(headers_[i].caption.isEmpty() ? headers_[i].field : headers_[i].caption);
    List->setHeaderLabels(captions);
    for (int i = 0; i < count; ++i) {
        List->setColumnWidth(i, vb::twipsToPixels(headers_[i].width == 0 ? 1000 : headers_[i].width));
        List->headerItem()->setTextAlignment(i, alignmentOf(headers_[i].align) | Qt::AlignVCenter);
    }
}

Lista::Bound Lista::bind() const
{
    Bound bound;
    for (int i = 0; i < headerCount(); ++i)
        bound.headers.append(Recordset.Fields(headers_[i].field));
    if (!IList.isEmpty())
        for (int i = 0; i < conditionCount_; ++i)
            bound.conditions.append(Recordset.Fields(conditions_[i].field));
    return bound;
}

QString Lista::cellText(const Bound& bound, int header) const
{
    const vb::Variant value = bound.headers[header].Value();
    if (value.isNull())
        return {};
    return headers_[header].format.isEmpty() ? vb::CStr(value) : vb::Format(value, headers_[header].format);
}

void Lista::applyIcon(const Bound& bound, QTreeWidgetItem* item) const
{
    if (IList.isEmpty() || conditionCount_ == 0)
        return;
    for (int i = 0; i < conditionCount_; ++i) {
        const vb::Variant v = bound.conditions[i].Value();
        if (!v.isNull() && vb::Equals(v, conditions_[i].value)) {
            item->setIcon(0, IList.value(conditions_[i].icon - 1));
            return;
        }
    }
}

void Lista::setViewStyle(int style)
{
    viewStyle_ = style;
    if (List)
        List->setHeaderHidden(style != 3);
}

void Lista::removeItems()
{
    if (List)
        List->clear();
}

void Lista::showCount(const QString& text)
{
    if (List)
        List->setToolTip(text);
    emit Listed(text);
}

void Lista::fail(int number, const QString& description)
{
    ErrorNumber = number;
    ErrorDescription = description;
    emit Erro();
}

QTreeWidgetItem* Lista::itemByKey(const QString& key) const
{
    if (!List)
        return nullptr;
    for (int i = 0; i < List->topLevelItemCount(); ++i)
        if (keyOf(List->topLevelItem(i)) == key)
            return List->topLevelItem(i);
    return nullptr;
}

QString Lista::keyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, keyRole).toString() : QString();
}

void Lista::Fill(const ado::Recordset& recordset)
{
    bool refresh = false;
    Fill(recordset, refresh);
}

void Lista::Fill(const ado::Recordset& recordset, bool& refresh)
{
    try {
        if (refresh) {
            if (Recordset.isNothing())
                throw vb::Error::objectNotSet();
            Recordset.Requery();
        } else {
            Fill_Headers();
        }
        if (List)
            List->setIconSize(QSize(16, 16));
        if (Key_Field.isEmpty())
            throw vb::Error(1, QStringLiteral("Tem de especificar um Key_Field"));
        const int count = headerCount();
        if (count >= 100)
            throw vb::Error(9, QStringLiteral("Subscript out of range"));
        if (!recordset.isNothing())
            Recordset = recordset;
        if (Recordset.isNothing() || !List)
            throw vb::Error::objectNotSet();
        Recordset.MoveFirst();
        setViewStyle(3);
        ItemsCount = 0;
        removeItems();
        QSet<QString> keys;
        // Owned here until the list takes them: a failure half-way frees them.
        QList<QTreeWidgetItem*> items;
        const auto freeItems = qScopeGuard([&items] { qDeleteAll(items); });
        keys.reserve(Recordset.RecordCount());
        items.reserve(Recordset.RecordCount());
        const Bound bound = bind();
        const ado::Field keyField = Recordset.Fields(Key_Field);
        while (!Recordset.Eof()) {
            const vb::Variant keyValue = keyField.Value();
            if (!keyValue.isNull()) {
                const QString key = vb::CStr(keyValue) + u'#';
                const qsizetype known = keys.size();
                keys.insert(key);
                if (keys.size() == known)
                    throw vb::Error(duplicateKey, QStringLiteral("A chave não é única na colecção."));
                auto* item = new QTreeWidgetItem;
                item->setData(0, keyRole, key);
                for (int i = 0; i < count; ++i) {
                    item->setText(i, cellText(bound, i));
                    if (headers_[i].align != 0)
                        item->setTextAlignment(i, alignmentOf(headers_[i].align) | Qt::AlignVCenter);
                }
                applyIcon(bound, item);
                items.append(item);
                ++ItemsCount;
            }
            Recordset.MoveNext();
            // The user interface stays responsive; the items go in at the end, in one call.
            if (ItemsCount % 200 == 0 && ItemsCount > 0)
                QCoreApplication::processEvents();
        }
        List->addTopLevelItems(std::exchange(items, {}));
        showCount(countLine(Recordset.RecordCount()));
        refresh = false;
        emit Filled();
    } catch (const vb::Error& e) {
        ErrorNumber = e.number();
        removeItems();
        setViewStyle(0);
        if (e.number() == vb::errnum::ObjectNotSet) {
            ErrorDescription = QStringLiteral("Não foi especificado um Recordset ou ListView válido!");
        } else if (e.number() == vb::errnum::AdoNoCurrentRecord) {
            setViewStyle(3); // nothing found: the columns stay, so the list still reads as a list
            showCount(countLine(0));
            ItemsCount = 0;
        } else {
            ErrorDescription = e.description();
            ItemsCount = 0;
        }
        emit Erro();
    }
}

void Lista::Refresh(qint32 index)
{
    try {
        if (index == 0) {
            bool refresh = true;
            Fill(ado::Recordset::nothing(), refresh);
            return;
        }
        if (Recordset.isNothing() || !List || Recordset.Eof())
            return;
        Recordset.Requery();
        Recordset.MoveFirst();
        for (int i = 1; i < index && !Recordset.Eof(); ++i)
            Recordset.MoveNext();
        QTreeWidgetItem* item = List->topLevelItem(index - 1);
        if (!item || Recordset.Eof())
            return;
        const Bound bound = bind();
        for (int i = 0; i < headerCount(); ++i)
            item->setText(i, cellText(bound, i));
        item->setIcon(0, QIcon());
        applyIcon(bound, item);
    } catch (const vb::Error& e) {
        fail(e.number(), e.description());
    }
}

vb::Variant Lista::Return_FieldValue(const QString& key, const QString& field)
{
    try {
        Recordset.MoveFirst();
        Recordset.Find(Key_Field + u'=' + ConvertKey(key), 0, ado::adSearchForward);
        return Recordset(field);
    } catch (const vb::Error& e) {
        fail(e.number(), e.description());
        return {};
    }
}
