#pragma once
// Everything a personalised letter or e-mail says about its sender and its
// reader, as merge fields (name → plain text):
//   empresa, remetente        the company and its address lines
//   data                      "Lisboa, 7 de Dezembro de 2026"
//   nome, morada, codigo_postal, localidade, pais, endereco (the address block)
//   saudacao                  the greeting, with its comma
//   tratamento                "V. Ex.ª", or "V. Ex.as" for an institution
//   nif, telefone, email      the contact's tax number, default telephone and e-mail
//   assinatura                the signed-in user's name
//   assunto                   the subject
#include "platform/ado/Connection.h"

#include <QDate>
#include <QMap>
#include <QString>

namespace adminfiscr {

using MergeFields = QMap<QString, QString>;

struct LetterData {
    MergeFields fields;
    QString contactName; // names the document file
    QString email;       // the default address; empty when the contact has none
};

// A view name the statement can carry as it is: letters, digits and "_",
// not beginning with a digit.
bool isPlainIdentifier(const QString& name);

// Reads the contact's row of the view, the company's details and the
// signer's name. Throws vb::Error: 5 for a view name that is not a plain
// identifier, 3021 when the view has no row for the contact, and whatever the
// server raises.
LetterData readLetterData(const ado::Connection& connection, const QString& viewName, qint32 contactoId,
                          const QString& user, const QDate& today);

} // namespace adminfiscr
