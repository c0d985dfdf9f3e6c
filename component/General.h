#pragma once
// The one public class of the component and the only way in for a host:
// create it, connect it once (SQLConnect or Login), then open or create
// contacts on the record card. No failure ever leaves a method.
//
//   General contacts;
//   if (contacts.SQLConnect(user, StringCipher::Encipher(pw), login, StringCipher::Encipher(loginPw),
//                           "Quarvenses", "/srv/quarvenses")) {
//       contacts.ObjectOpen(list, vb::Variant(17), {}, {}, myCallback);
//   }
#include "platform/values/Variant.h"

#include <QString>
#include <memory>

#include "platform/ado/Recordset.h"

class frmInicial;

class General {
  public:
    // The host's recordset: a shared reference, so the card moves the host's cursor.
    using RecordsetRef = ado::Recordset;
    using ObjectRef = std::shared_ptr<vb::Object>;

    General();
    ~General();
    General(const General&) = delete;
    General& operator=(const General&) = delete;

    // Passwords are passed enciphered with the family cipher.
    bool Login(const QString& User = {}, const QString& Password = {});
    bool SQLConnect(const QString& User, const QString& Password, const QString& cnUser,
                    const QString& cnPassword, const QString& cnInitialCatalog, const QString& cnDataSource,
                    const QString& cnDataSourceSecondary = {}, qint32 Flags = 0);

    void ObjectOpen(RecordsetRef& tRs, const vb::Variant& PKey = vb::Variant::missing(),
                    const QString& Tabela = {}, const QString& StrWhere = {},
                    const ObjectRef& Caller = nullptr, qint32 clCurrentIndex = 0, qint32 clCurrentObject = 0,
                    qint32 clLast_Related_ID = 0);
    void Registo(RecordsetRef& tRs, const vb::Variant& PKey = vb::Variant::missing(),
                 const QString& Tabela = {}, const QString& StrWhere = {}, const ObjectRef& Caller = nullptr);
    void ObjectNew(const QString& Table, const vb::Variant& PKey = vb::Variant::missing(),
                   qint32 Contacto_ID = 0, const ObjectRef& Caller = nullptr, qint32 clCurrentIndex = 0,
                   qint32 clCurrentObject = 0, qint32 clLast_Related_ID = 0);
    void NovoRegisto(const QString& Table, const vb::Variant& PKey = vb::Variant::missing(),
                     qint32 Contacto_ID = 0, const ObjectRef& Caller = nullptr);
    void NovoRegistoTelefone(const QString& Table, const vb::Variant& strTelefone,
                             const vb::Variant& PKey = vb::Variant::missing(), qint32 Contacto_ID = 0,
                             const ObjectRef& Caller = nullptr);
    // Deleting happens only from the card: this does nothing and answers false.
    bool ApagaRegisto(RecordsetRef& Rs, const vb::Variant& PKey, const QString& Tabela);
    void ShutDown();
    void EditarTabelas(const QString& Tabela);

    const ObjectRef& ParentForm() const { return parentForm_; }
    void setParentForm(const ObjectRef& form) { parentForm_ = form; }

    // The record card this instance works on; nothing after ShutDown.
    frmInicial* card() const { return card_.get(); }
    // A card showing unsaved changes asks about them (Yes, No, Cancel); false
    // when the user keeps them. A host asks this before it quits.
    bool cardMayLeave();

  private:
    bool connectionChecked();
    bool allowed(qint32 contactoId, int right);
    bool guardNew(const vb::Variant& PKey);
    static qint32 rowToShow(RecordsetRef& tRs, const vb::Variant& PKey);
    frmInicial* openOnRow(RecordsetRef& tRs, const vb::Variant& PKey, const ObjectRef& Caller);
    frmInicial& ensureCard();
    frmInicial& cardFor(const ObjectRef& Caller);

    ObjectRef parentForm_;
    std::unique_ptr<frmInicial> card_;
};
