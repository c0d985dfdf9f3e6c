-- The host's list of contacts for the embedded server (SQLite), and what
-- else a large catalog is searched through; run after embedded.sql on a new
-- catalog and on an older catalog that lacks the list (whose contacts are
-- then listed by the server program).
--
-- One row a contact with what the list shows, kept by the server from the
-- contact and its default address, telephone and e-mail, so that a screen of
-- the list is read through an index in the order of any of its columns
-- instead of computing every contact's row to sort them. A missing value is
-- '' (not NULL) so that the screen after a row is a plain comparison.
-- pesquisa is the searched values folded (accents and case aside) and
-- indexed by trigrams, so that a search inside the words reads only the
-- rows that hold the typed letters.

CREATE TABLE tbContactos_Lista (
  contacto_id INTEGER PRIMARY KEY,
  genero_id INT NOT NULL DEFAULT 1,
  nome_union NVARCHAR(150) COLLATE QV_CI NOT NULL DEFAULT '',
  no_contribuinte NVARCHAR(20) COLLATE QV_CI NOT NULL DEFAULT '',
  telefone NVARCHAR(30) COLLATE QV_CI NOT NULL DEFAULT '',
  email NVARCHAR(120) COLLATE QV_CI NOT NULL DEFAULT '',
  localidade NVARCHAR(60) COLLATE QV_CI NOT NULL DEFAULT '',
  pesquisa TEXT GENERATED ALWAYS AS (qv_fold(nome_union || ' ' || no_contribuinte || ' ' ||
    replace(no_contribuinte, ' ', '') || ' ' || replace(telefone, ' ', '') || ' ' || email || ' ' ||
    localidade)) STORED
);
CREATE INDEX ix_tbContactos_Lista_nome_union ON tbContactos_Lista (nome_union);
CREATE INDEX ix_tbContactos_Lista_no_contribuinte ON tbContactos_Lista (no_contribuinte, nome_union);
CREATE INDEX ix_tbContactos_Lista_telefone ON tbContactos_Lista (telefone, nome_union);
CREATE INDEX ix_tbContactos_Lista_email ON tbContactos_Lista (email, nome_union);
CREATE INDEX ix_tbContactos_Lista_localidade ON tbContactos_Lista (localidade, nome_union);

-- The card's check that no other contact has the same NIF, spaces aside,
-- finds it through this index instead of reading every contact.
CREATE INDEX IF NOT EXISTS ix_tbContactos_nif_sem_espacos ON tbContactos (replace(no_contribuinte, ' ', ''));

-- The trigram index keeps no positions (detail none): it is asked only which
-- rows hold the typed letters, each found row is checked against its text,
-- and without positions it is made in two thirds of the time.
CREATE VIRTUAL TABLE tbContactos_Lista_Trigramas USING fts5(
  pesquisa, content='tbContactos_Lista', content_rowid='contacto_id', tokenize='trigram', detail='none');

CREATE TRIGGER trContactos_Lista_Trigramas_i AFTER INSERT ON tbContactos_Lista BEGIN
  INSERT INTO tbContactos_Lista_Trigramas (rowid, pesquisa) VALUES (new.contacto_id, new.pesquisa);
END;
CREATE TRIGGER trContactos_Lista_Trigramas_u AFTER UPDATE ON tbContactos_Lista BEGIN
  INSERT INTO tbContactos_Lista_Trigramas (tbContactos_Lista_Trigramas, rowid, pesquisa)
    VALUES ('delete', old.contacto_id, old.pesquisa);
  INSERT INTO tbContactos_Lista_Trigramas (rowid, pesquisa) VALUES (new.contacto_id, new.pesquisa);
END;
CREATE TRIGGER trContactos_Lista_Trigramas_d AFTER DELETE ON tbContactos_Lista BEGIN
  INSERT INTO tbContactos_Lista_Trigramas (tbContactos_Lista_Trigramas, rowid, pesquisa)
    VALUES ('delete', old.contacto_id, old.pesquisa);
END;

CREATE TRIGGER trContactos_Lista_i AFTER INSERT ON tbContactos BEGIN
  INSERT INTO tbContactos_Lista (contacto_id, genero_id, nome_union, no_contribuinte)
    VALUES (new.contacto_id, new.genero_id, ifnull(new.nome_union, ''), ifnull(new.no_contribuinte, ''));
END;
CREATE TRIGGER trContactos_Lista_u AFTER UPDATE OF genero_id, nome_union, no_contribuinte ON tbContactos BEGIN
  UPDATE tbContactos_Lista SET genero_id = new.genero_id, nome_union = ifnull(new.nome_union, ''),
    no_contribuinte = ifnull(new.no_contribuinte, '') WHERE contacto_id = new.contacto_id;
END;
CREATE TRIGGER trContactos_Lista_d AFTER DELETE ON tbContactos BEGIN
  DELETE FROM tbContactos_Lista WHERE contacto_id = old.contacto_id;
END;

-- The default address's locality, telephone and e-mail, as the contacts'
-- view chooses them: the default row, else the first.
CREATE TRIGGER trContactos_Moradas_Lista_i AFTER INSERT ON tbContactos_Moradas BEGIN
  UPDATE tbContactos_Lista SET localidade = ifnull((SELECT m.localidade FROM tbContactos_Moradas m
    WHERE m.contacto_id = new.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1), '')
    WHERE contacto_id = new.contacto_id;
END;
CREATE TRIGGER trContactos_Moradas_Lista_u AFTER UPDATE ON tbContactos_Moradas BEGIN
  UPDATE tbContactos_Lista SET localidade = ifnull((SELECT m.localidade FROM tbContactos_Moradas m
    WHERE m.contacto_id = tbContactos_Lista.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1), '')
    WHERE contacto_id IN (old.contacto_id, new.contacto_id);
END;
CREATE TRIGGER trContactos_Moradas_Lista_d AFTER DELETE ON tbContactos_Moradas BEGIN
  UPDATE tbContactos_Lista SET localidade = ifnull((SELECT m.localidade FROM tbContactos_Moradas m
    WHERE m.contacto_id = old.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1), '')
    WHERE contacto_id = old.contacto_id;
END;
CREATE TRIGGER trContactos_Telefones_Lista_i AFTER INSERT ON tbContactos_Telefones BEGIN
  UPDATE tbContactos_Lista SET telefone = ifnull((SELECT t.numero FROM tbContactos_Telefones t
    WHERE t.contacto_id = new.contacto_id ORDER BY t.telefone_default DESC, t.telefone_id LIMIT 1), '')
    WHERE contacto_id = new.contacto_id;
END;
CREATE TRIGGER trContactos_Telefones_Lista_u AFTER UPDATE ON tbContactos_Telefones BEGIN
  UPDATE tbContactos_Lista SET telefone = ifnull((SELECT t.numero FROM tbContactos_Telefones t
    WHERE t.contacto_id = tbContactos_Lista.contacto_id ORDER BY t.telefone_default DESC, t.telefone_id LIMIT 1), '')
    WHERE contacto_id IN (old.contacto_id, new.contacto_id);
END;
CREATE TRIGGER trContactos_Telefones_Lista_d AFTER DELETE ON tbContactos_Telefones BEGIN
  UPDATE tbContactos_Lista SET telefone = ifnull((SELECT t.numero FROM tbContactos_Telefones t
    WHERE t.contacto_id = old.contacto_id ORDER BY t.telefone_default DESC, t.telefone_id LIMIT 1), '')
    WHERE contacto_id = old.contacto_id;
END;
CREATE TRIGGER trContactos_Emails_Lista_i AFTER INSERT ON tbContactos_Emails BEGIN
  UPDATE tbContactos_Lista SET email = ifnull((SELECT e.email FROM tbContactos_Emails e
    WHERE e.contacto_id = new.contacto_id ORDER BY e.email_default DESC, e.email_id LIMIT 1), '')
    WHERE contacto_id = new.contacto_id;
END;
CREATE TRIGGER trContactos_Emails_Lista_u AFTER UPDATE ON tbContactos_Emails BEGIN
  UPDATE tbContactos_Lista SET email = ifnull((SELECT e.email FROM tbContactos_Emails e
    WHERE e.contacto_id = tbContactos_Lista.contacto_id ORDER BY e.email_default DESC, e.email_id LIMIT 1), '')
    WHERE contacto_id IN (old.contacto_id, new.contacto_id);
END;
CREATE TRIGGER trContactos_Emails_Lista_d AFTER DELETE ON tbContactos_Emails BEGIN
  UPDATE tbContactos_Lista SET email = ifnull((SELECT e.email FROM tbContactos_Emails e
    WHERE e.contacto_id = old.contacto_id ORDER BY e.email_default DESC, e.email_id LIMIT 1), '')
    WHERE contacto_id = old.contacto_id;
END;
