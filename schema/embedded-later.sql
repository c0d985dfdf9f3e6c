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
