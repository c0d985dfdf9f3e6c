-- Tables added to the embedded server's schema after catalogs were made with
-- it: run after embedded.sql on a new catalog, and by every session that
-- opens a catalog lacking one of them (each statement leaves a table that is
-- there as it is).

-- Pairs of contacts a user said are not one person, so that the search for
-- duplicates does not show them again; the lower number first.
CREATE TABLE IF NOT EXISTS tbContactos_Duplicados_Rejeitados (
  contacto_id INT NOT NULL,
  outro_contacto_id INT NOT NULL,
  created_by NVARCHAR(50) COLLATE QV_CI,
  created_date DATETIME,
  PRIMARY KEY (contacto_id, outro_contacto_id)
);
-- Each merge of two contacts, with every row both had before it (antes) and
-- the kept contact's rows after it (depois), so that it can be undone while
-- nothing has changed the kept contact since. JSON text.
CREATE TABLE IF NOT EXISTS tbContactos_Fusoes (
  fusao_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_mantido_id INT NOT NULL,
  contacto_fundido_id INT NOT NULL,
  created_by NVARCHAR(50) COLLATE QV_CI,
  created_date DATETIME,
  antes NTEXT COLLATE QV_CI,
  depois NTEXT COLLATE QV_CI,
  desfeita BIT NOT NULL DEFAULT 0
);
-- The vCard UIDs of contacts merged into another, so that a later import of
-- either card finds the contact that was kept.
CREATE TABLE IF NOT EXISTS tbContactos_VCard_Fundidos (
  uid NVARCHAR(100) COLLATE QV_CI NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL
);
CREATE INDEX IF NOT EXISTS ix_tbContactos_VCard_Fundidos_contacto_id ON tbContactos_VCard_Fundidos (contacto_id);
-- What the last sync with each address book on a CardDAV server left: the
-- card each contact is paired with, the version seen, a fingerprint of the
-- card the catalog gave and the contact's change stamp then. The contact's
-- number is not named contacto_id, so that deleting the contact keeps the
-- pairing until the sync has deleted its card on the server.
CREATE TABLE IF NOT EXISTS tbContactos_CardDAV (
  livro NVARCHAR(400) COLLATE QV_CI NOT NULL,
  contacto INT NOT NULL,
  href NVARCHAR(400) COLLATE QV_CI NOT NULL,
  etag NVARCHAR(200) COLLATE QV_CI,
  impressao NVARCHAR(64) COLLATE QV_CI,
  alterado NVARCHAR(40) COLLATE QV_CI,
  PRIMARY KEY (livro, contacto)
);
-- Each address book's token (or version tag) at the end of the last sync.
CREATE TABLE IF NOT EXISTS tbContactos_CardDAV_Livros (
  livro NVARCHAR(400) COLLATE QV_CI NOT NULL PRIMARY KEY,
  ficheiro NVARCHAR(80) COLLATE QV_CI,
  token NVARCHAR(400) COLLATE QV_CI,
  ctag NVARCHAR(200) COLLATE QV_CI
);
