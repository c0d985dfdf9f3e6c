#pragma once
// Fills a report-style list view from a recordset: one item per row keyed
// by Key_Field + "#", configurable columns, row icons chosen by value
// conditions. The view is a QTreeWidget (items are created directly, which
// is the fastest way to fill it); the count line goes to the view's tooltip
// and to the Listed signal, for a status bar.
#include "platform/ado/Recordset.h"
#include "platform/values/Variant.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

class Lista : public QObject {
    Q_OBJECT
  public:
    explicit Lista(QObject* parent = nullptr);

    // Public state, in its order.
    ado::Recordset Recordset = ado::Recordset::nothing();
    qint32 ErrorNumber = 0;
    QString ErrorDescription;
    QString Key_Field;
    QPointer<QTreeWidget> List;
    qint32 ItemsCount = 0;
    QList<QIcon> IList; // empty: no image list

    void Clear();
    static QString TransEmpty(const vb::Variant& Valor);
    // What the status line says of a list of `rows`.
    static QString countLine(int rows);
    void Refresh(qint32 index);
    void Fill(const ado::Recordset& recordset, bool& refresh);
    void Fill(const ado::Recordset& recordset);
    void Fill_Headers();
    bool AddHeader(const QString& Field, const QString& Label = {}, qint32 Size = 0, qint32 Align = 0,
                   const QString& Format = {});
    bool EditHeader(qint32 index, const QString& Field, const QString& Label = {}, qint32 Size = 0,
                    qint32 Align = 0, const QString& Format = {});
    void ClearHeaders();
    bool AddCondition(const QString& Field, const vb::Variant& Value, qint32 ImageIndex);
    void ClearConditions();
    static QString ConvertKey(const QString& key);
    vb::Variant Return_FieldValue(const QString& key, const QString& field);

    // The view's style: 0 icons, 3 report.
    int viewStyle() const { return viewStyle_; }
    // The item with that key, or nothing.
    QTreeWidgetItem* itemByKey(const QString& key) const;
    static QString keyOf(const QTreeWidgetItem* item);

  signals:
    void Erro();
    void Filled(); // every row has been listed
    void Listed(const QString& countText);

  private:
    struct Header {
        QString field, caption, format;
        qint32 width = 0, align = 0;
    };
    struct Condition {
        QString field;
        vb::Variant value;
        qint32 icon = 0;
    };
    int headerCount() const;
    bool writeHeader(int slot, const QString& field, const QString& label, qint32 size, qint32 align,
                     const QString& format);
    // The fields of the headers and conditions, looked up once per fill.
    struct Bound {
        QList<ado::Field> headers;
        QList<ado::Field> conditions;
    };
    Bound bind() const;
    QString cellText(const Bound& bound, int header) const;
    void applyIcon(const Bound& bound, QTreeWidgetItem* item) const;
    void setViewStyle(int style);
    void removeItems();
    void fail(int number, const QString& description);
    void showCount(const QString& text);

    Header headers_[100];
    int writePosition_ = 0;
    Condition conditions_[100];
    int conditionCount_ = 0;
    int viewStyle_ = 0;
};
