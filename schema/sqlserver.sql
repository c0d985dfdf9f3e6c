-- The contacts database for SQL Server. Run with sqlcmd or quarvenses-sql on
-- an empty database; the embedded server's script (embedded.sql) holds the
-- same tables and columns.
SET NOCOUNT ON;
GO

CREATE TABLE tbContactos (
  contacto_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  genero_id INT NOT NULL DEFAULT 1,
  nome_union NVARCHAR(150) NULL,
  no_contribuinte NVARCHAR(20) NULL,
  chave NVARCHAR(60) NULL,
  user_delete INT NOT NULL DEFAULT 0,
  created_by NVARCHAR(50) NULL,
  created_date DATETIME NULL,
  modified_by NVARCHAR(50) NULL,
  modified_date DATETIME NULL
);
GO
CREATE INDEX ix_tbContactos_no_contribuinte ON tbContactos (no_contribuinte);
GO
CREATE INDEX ix_tbContactos_nome_union ON tbContactos (nome_union);
GO
CREATE TABLE tbContactos_Singulares (
  contacto_id INT NOT NULL PRIMARY KEY,
  nome NVARCHAR(80) NULL,
  apelido NVARCHAR(80) NULL,
  titulo NVARCHAR(30) NULL,
  profissao NVARCHAR(60) NULL,
  nacionalidade NVARCHAR(40) NULL,
  data_nascimento DATETIME NULL,
  sexo NVARCHAR(1) NULL,
  no_identificacao NVARCHAR(20) NULL
);
GO
CREATE TABLE tbContactos_Institucionais_Areas_Negocio (
  area_negocio_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(80) NOT NULL
);
GO
CREATE TABLE tbContactos_Institucionais (
  contacto_id INT NOT NULL PRIMARY KEY,
  area_negocio_id INT NULL,
  sigla NVARCHAR(30) NULL,
  capital_social MONEY NULL,
  sitio NVARCHAR(120) NULL
);
GO
CREATE INDEX ix_tbContactos_Institucionais_area_negocio_id ON tbContactos_Institucionais (area_negocio_id);
GO
CREATE TABLE tbContactos_Emails (
  email_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  email NVARCHAR(120) NOT NULL,
  descrit NVARCHAR(60) NULL,
  email_default BIT NOT NULL DEFAULT 0
);
GO
CREATE INDEX ix_tbContactos_Emails_contacto_id ON tbContactos_Emails (contacto_id);
GO
CREATE TABLE tbContactos_Moradas (
  morada_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  morada NVARCHAR(200) NULL,
  codigo_postal NVARCHAR(12) NULL,
  localidade NVARCHAR(60) NULL,
  pais NVARCHAR(60) NULL,
  morada_default BIT NOT NULL DEFAULT 0
);
GO
CREATE INDEX ix_tbContactos_Moradas_contacto_id ON tbContactos_Moradas (contacto_id);
GO
CREATE TABLE tbContactos_Telefones (
  telefone_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  numero NVARCHAR(30) NOT NULL,
  tipo NVARCHAR(20) NULL,
  telefone_default BIT NOT NULL DEFAULT 0
);
GO
CREATE INDEX ix_tbContactos_Telefones_contacto_id ON tbContactos_Telefones (contacto_id);
GO
CREATE INDEX ix_tbContactos_Telefones_numero ON tbContactos_Telefones (numero);
GO
CREATE TABLE tbContactos_Notas (
  nota_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  nota NTEXT NULL,
  created_by NVARCHAR(50) NULL,
  created_date DATETIME NULL
);
GO
CREATE INDEX ix_tbContactos_Notas_contacto_id ON tbContactos_Notas (contacto_id);
GO
CREATE TABLE tbContactos_Fotos (
  foto_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  ficheiro NVARCHAR(260) NULL,
  imagem NTEXT NULL
);
GO
CREATE INDEX ix_tbContactos_Fotos_contacto_id ON tbContactos_Fotos (contacto_id);
GO
CREATE TABLE tbContactos_Relacionados (
  relacao_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  related_contacto_id INT NOT NULL,
  descrit NVARCHAR(60) NULL,
  produto NVARCHAR(30) NULL
);
GO
CREATE INDEX ix_tbContactos_Relacionados_contacto_id ON tbContactos_Relacionados (contacto_id);
GO
CREATE INDEX ix_tbContactos_Relacionados_related_contacto_id ON tbContactos_Relacionados (related_contacto_id);
GO
-- A contact's vCard UID, and the properties of its cards that no column holds.
CREATE TABLE tbContactos_VCard (
  contacto_id INT NOT NULL PRIMARY KEY,
  uid NVARCHAR(100) NOT NULL,
  propriedades NTEXT NULL
);
GO
CREATE INDEX ix_tbContactos_VCard_uid ON tbContactos_VCard (uid);
GO
CREATE TABLE tbContactos_Comunicacoes (
  comunicacao_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  data DATETIME NULL,
  meio NVARCHAR(30) NULL,
  assunto NVARCHAR(120) NULL,
  texto NTEXT NULL,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL,
  created_by NVARCHAR(50) NULL
);
GO
CREATE INDEX ix_tbContactos_Comunicacoes_contacto_id ON tbContactos_Comunicacoes (contacto_id);
GO
CREATE TABLE tbContactos_Tipos (
  contacto_tipo_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(80) NOT NULL,
  related NVARCHAR(80) NULL,
  inactivo BIT NOT NULL DEFAULT 0
);
GO
CREATE INDEX ix_tbContactos_Tipos_descrit ON tbContactos_Tipos (descrit);
GO
CREATE TABLE tbContactos_Tipos_Links (
  link_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  contacto_tipo_id INT NOT NULL,
  created_date DATETIME NULL
);
GO
CREATE INDEX ix_tbContactos_Tipos_Links_contacto_id ON tbContactos_Tipos_Links (contacto_id);
GO
CREATE INDEX ix_tbContactos_Tipos_Links_contacto_tipo_id ON tbContactos_Tipos_Links (contacto_tipo_id);
GO
CREATE TABLE tbContactos_Eventos_Tipos (
  evento_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(80) NOT NULL
);
GO
-- Pairs of contacts a user said are not one person, so that the search for
-- duplicates does not show them again; the lower number first.
CREATE TABLE tbContactos_Duplicados_Rejeitados (
  contacto_id INT NOT NULL,
  outro_contacto_id INT NOT NULL,
  created_by NVARCHAR(50) NULL,
  created_date DATETIME NULL,
  PRIMARY KEY (contacto_id, outro_contacto_id)
);
GO
-- Each merge of two contacts, with every row both had before it (antes) and
-- the kept contact's rows after it (depois), so that it can be undone while
-- nothing has changed the kept contact since. JSON text.
CREATE TABLE tbContactos_Fusoes (
  fusao_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_mantido_id INT NOT NULL,
  contacto_fundido_id INT NOT NULL,
  created_by NVARCHAR(50) NULL,
  created_date DATETIME NULL,
  antes NTEXT NULL,
  depois NTEXT NULL,
  desfeita BIT NOT NULL DEFAULT 0
);
GO
-- The vCard UIDs of contacts merged into another, so that a later import of
-- either card finds the contact that was kept.
CREATE TABLE tbContactos_VCard_Fundidos (
  uid NVARCHAR(100) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL
);
GO
CREATE INDEX ix_tbContactos_VCard_Fundidos_contacto_id ON tbContactos_VCard_Fundidos (contacto_id);
GO
-- What the last sync with each address book on a CardDAV server left: the
-- card each contact is paired with, the version seen, a fingerprint of the
-- card the catalog gave and the contact's change stamp then. The contact's
-- number is not named contacto_id, so that deleting the contact keeps the
-- pairing until the sync has deleted its card on the server.
CREATE TABLE tbContactos_CardDAV (
  livro NVARCHAR(400) NOT NULL,
  contacto INT NOT NULL,
  href NVARCHAR(400) NOT NULL,
  etag NVARCHAR(200),
  impressao NVARCHAR(64),
  alterado NVARCHAR(40),
  PRIMARY KEY (livro, contacto)
);
GO
-- Each address book's token (or version tag) at the end of the last sync.
CREATE TABLE tbContactos_CardDAV_Livros (
  livro NVARCHAR(400) NOT NULL PRIMARY KEY,
  ficheiro NVARCHAR(80),
  token NVARCHAR(400),
  ctag NVARCHAR(200)
);
GO
CREATE TABLE tbTabelas_Titulos (
  titulo_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(30) NOT NULL
);
GO
CREATE UNIQUE INDEX ix_tbTabelas_Titulos_descrit ON tbTabelas_Titulos (descrit);
GO
CREATE TABLE tbTabelas_Profissoes (
  profissao_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(60) NOT NULL
);
GO
CREATE UNIQUE INDEX ix_tbTabelas_Profissoes_descrit ON tbTabelas_Profissoes (descrit);
GO
CREATE TABLE tbTabelas_Nacionalidades (
  nacionalidade_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(40) NOT NULL
);
GO
CREATE UNIQUE INDEX ix_tbTabelas_Nacionalidades_descrit ON tbTabelas_Nacionalidades (descrit);
GO
CREATE TABLE tbTabelas_Paises (
  pais_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(60) NOT NULL
);
GO
CREATE UNIQUE INDEX ix_tbTabelas_Paises_descrit ON tbTabelas_Paises (descrit);
GO
CREATE TABLE tbContactos_Eventos (
  contacto_id INT NOT NULL,
  evento_id INT NOT NULL,
  activado BIT NOT NULL DEFAULT 0,
  PRIMARY KEY (contacto_id, evento_id)
);
GO
CREATE INDEX ix_tbContactos_Eventos_contacto_id ON tbContactos_Eventos (contacto_id);
GO
CREATE TABLE tbUsers (
  user_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(50) NOT NULL,
  code NVARCHAR(20) NULL,
  nome NVARCHAR(100) NULL,
  contacto_id INT NULL
);
GO
CREATE INDEX ix_tbUsers_descrit ON tbUsers (descrit);
GO
CREATE INDEX ix_tbUsers_code ON tbUsers (code);
GO
CREATE INDEX ix_tbUsers_contacto_id ON tbUsers (contacto_id);
GO
CREATE TABLE tbGroups (
  group_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(60) NOT NULL,
  code NVARCHAR(20) NULL
);
GO
CREATE INDEX ix_tbGroups_code ON tbGroups (code);
GO
CREATE TABLE tbGroups_Users_Links (
  link_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  group_id INT NOT NULL,
  user_id INT NOT NULL,
  predef BIT NOT NULL DEFAULT 0
);
GO
CREATE INDEX ix_tbGroups_Users_Links_user_id ON tbGroups_Users_Links (user_id);
GO
CREATE INDEX ix_tbGroups_Users_Links_group_id ON tbGroups_Users_Links (group_id);
GO
CREATE TABLE tbConfig (
  config_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  module_id INT NOT NULL,
  variavel NVARCHAR(60) NOT NULL,
  valor NVARCHAR(255) NULL
);
GO
CREATE INDEX ix_tbConfig_variavel ON tbConfig (variavel);
GO
CREATE TABLE tbArquivo_Documental (
  arquivo_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  tipo_id INT NULL,
  related_id INT NULL,
  filename NVARCHAR(260) NOT NULL,
  path NVARCHAR(400) NULL,
  created_date DATETIME NULL,
  created_by NVARCHAR(50) NULL
);
GO
CREATE INDEX ix_tbArquivo_Documental_contacto_id ON tbArquivo_Documental (contacto_id);
GO
CREATE TABLE tbTulvas_Contactos_Tipos (
  tipo_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  descrit NVARCHAR(80) NOT NULL
);
GO
CREATE TABLE tbClientes (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbColaboradores (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbTulvas_Contactos (
  contacto_id INT NOT NULL PRIMARY KEY,
  tipo_id INT NULL,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbOutsourcing (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbSeguradoras (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbPacientes (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbFornecedores (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbEntidades_Custos (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbClientes_Advogados (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbAssociados (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME NULL,
  referencia NVARCHAR(30) NULL,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT NULL
);
GO
CREATE TABLE tbClientes_Apolices (
  apolice_main_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  descrit NVARCHAR(120) NULL
);
GO
CREATE INDEX ix_tbClientes_Apolices_contacto_id ON tbClientes_Apolices (contacto_id);
GO
CREATE TABLE tbClientes_Sinistros (
  sinistro_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  descrit NVARCHAR(120) NULL
);
GO
CREATE INDEX ix_tbClientes_Sinistros_contacto_id ON tbClientes_Sinistros (contacto_id);
GO
CREATE TABLE tbSeguradoras_P_Contas (
  PContas_ID INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  contacto_id INT NOT NULL,
  descrit NVARCHAR(120) NULL
);
GO
CREATE INDEX ix_tbSeguradoras_P_Contas_contacto_id ON tbSeguradoras_P_Contas (contacto_id);
GO
CREATE TABLE tbClientes_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbClientes_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbClientes_Permitions_Criar_Groups_code ON tbClientes_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbClientes_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbClientes_Permitions_Criar_Users_code ON tbClientes_Permitions_Criar_Users (code);
GO
CREATE TABLE tbColaboradores_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbColaboradores_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbColaboradores_Permitions_Criar_Groups_code ON tbColaboradores_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbColaboradores_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbColaboradores_Permitions_Criar_Users_code ON tbColaboradores_Permitions_Criar_Users (code);
GO
CREATE TABLE tbTulvas_Contactos_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbTulvas_Contactos_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbTulvas_Contactos_Permitions_Criar_Groups_code ON tbTulvas_Contactos_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbTulvas_Contactos_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbTulvas_Contactos_Permitions_Criar_Users_code ON tbTulvas_Contactos_Permitions_Criar_Users (code);
GO
CREATE TABLE tbOutsourcing_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbOutsourcing_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbOutsourcing_Permitions_Criar_Groups_code ON tbOutsourcing_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbOutsourcing_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbOutsourcing_Permitions_Criar_Users_code ON tbOutsourcing_Permitions_Criar_Users (code);
GO
CREATE TABLE tbSeguradoras_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbSeguradoras_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbSeguradoras_Permitions_Criar_Groups_code ON tbSeguradoras_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbSeguradoras_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbSeguradoras_Permitions_Criar_Users_code ON tbSeguradoras_Permitions_Criar_Users (code);
GO
CREATE TABLE tbPacientes_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbPacientes_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbPacientes_Permitions_Criar_Groups_code ON tbPacientes_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbPacientes_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbPacientes_Permitions_Criar_Users_code ON tbPacientes_Permitions_Criar_Users (code);
GO
CREATE TABLE tbFornecedores_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbFornecedores_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbFornecedores_Permitions_Criar_Groups_code ON tbFornecedores_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbFornecedores_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbFornecedores_Permitions_Criar_Users_code ON tbFornecedores_Permitions_Criar_Users (code);
GO
CREATE TABLE tbEntidades_Custos_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbEntidades_Custos_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbEntidades_Custos_Permitions_Criar_Groups_code ON tbEntidades_Custos_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbEntidades_Custos_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbEntidades_Custos_Permitions_Criar_Users_code ON tbEntidades_Custos_Permitions_Criar_Users (code);
GO
CREATE TABLE tbClientes_Advogados_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbClientes_Advogados_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbClientes_Advogados_Permitions_Criar_Groups_code ON tbClientes_Advogados_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbClientes_Advogados_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbClientes_Advogados_Permitions_Criar_Users_code ON tbClientes_Advogados_Permitions_Criar_Users (code);
GO
CREATE TABLE tbAssociados_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbAssociados_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbAssociados_Permitions_Criar_Groups_code ON tbAssociados_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbAssociados_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbAssociados_Permitions_Criar_Users_code ON tbAssociados_Permitions_Criar_Users (code);
GO
CREATE TABLE tbClientes_Apolices_Permitions (
  apolice_main_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbClientes_Apolices_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbClientes_Apolices_Permitions_Criar_Groups_code ON tbClientes_Apolices_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbClientes_Apolices_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbClientes_Apolices_Permitions_Criar_Users_code ON tbClientes_Apolices_Permitions_Criar_Users (code);
GO
CREATE TABLE tbClientes_Sinistros_Permitions (
  sinistro_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbClientes_Sinistros_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbClientes_Sinistros_Permitions_Criar_Groups_code ON tbClientes_Sinistros_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbClientes_Sinistros_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbClientes_Sinistros_Permitions_Criar_Users_code ON tbClientes_Sinistros_Permitions_Criar_Users (code);
GO
CREATE TABLE tbSeguradoras_P_Contas_Permitions (
  PContas_ID INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) NULL,
  group_code NVARCHAR(400) NULL
);
GO
CREATE TABLE tbSeguradoras_P_Contas_Permitions_Criar_Groups (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL,
  group_code NVARCHAR(400) NULL,
  user_code NVARCHAR(400) NULL
);
GO
CREATE INDEX ix_tbSeguradoras_P_Contas_Permitions_Criar_Groups_code ON tbSeguradoras_P_Contas_Permitions_Criar_Groups (code);
GO
CREATE TABLE tbSeguradoras_P_Contas_Permitions_Criar_Users (
  criar_id INT IDENTITY(1,1) NOT NULL PRIMARY KEY,
  code NVARCHAR(20) NOT NULL
);
GO
CREATE INDEX ix_tbSeguradoras_P_Contas_Permitions_Criar_Users_code ON tbSeguradoras_P_Contas_Permitions_Criar_Users (code);
GO

CREATE VIEW vwContactos_Quarvenses_Completos AS
SELECT c.contacto_id, c.genero_id, c.nome_union, s.titulo, s.nome, s.apelido, s.sexo, c.no_contribuinte, c.chave,
  (SELECT TOP 1 m.morada FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id) AS morada,
  (SELECT TOP 1 m.codigo_postal FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id) AS codigo_postal,
  (SELECT TOP 1 m.localidade FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id) AS localidade,
  (SELECT TOP 1 m.pais FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id) AS pais,
  (SELECT TOP 1 t.numero FROM tbContactos_Telefones t WHERE t.contacto_id = c.contacto_id ORDER BY t.telefone_default DESC, t.telefone_id) AS telefone,
  (SELECT TOP 1 e.email FROM tbContactos_Emails e WHERE e.contacto_id = c.contacto_id ORDER BY e.email_default DESC, e.email_id) AS email
FROM tbContactos c
  INNER JOIN tbTulvas_Contactos f ON f.contacto_id = c.contacto_id
  LEFT JOIN tbContactos_Singulares s ON s.contacto_id = c.contacto_id AND c.genero_id = 1
GO

-- The host's list: one row a contact with what the list shows, kept by the
-- triggers below from the contact and its default address, telephone and
-- e-mail, so that a screen of the list is read through an index in the
-- order of any of its columns. The columns carry the accent-insensitive
-- collation the list sorts and searches by, so that its indexes serve the
-- ORDER BY; a missing value is N'' so that the screen after a row is a plain
-- comparison. pesquisa is the searched values in one text.
CREATE TABLE tbContactos_Lista (
  contacto_id INT NOT NULL PRIMARY KEY,
  genero_id INT NOT NULL DEFAULT 1,
  nome_union NVARCHAR(150) COLLATE Latin1_General_CI_AI NOT NULL DEFAULT '',
  no_contribuinte NVARCHAR(20) COLLATE Latin1_General_CI_AI NOT NULL DEFAULT '',
  telefone NVARCHAR(30) COLLATE Latin1_General_CI_AI NOT NULL DEFAULT '',
  email NVARCHAR(120) COLLATE Latin1_General_CI_AI NOT NULL DEFAULT '',
  localidade NVARCHAR(60) COLLATE Latin1_General_CI_AI NOT NULL DEFAULT '',
  pesquisa AS (nome_union + N' ' + no_contribuinte + N' ' + REPLACE(no_contribuinte, N' ', N'') + N' ' +
    REPLACE(telefone, N' ', N'') + N' ' + email + N' ' + localidade) PERSISTED
);
GO
CREATE INDEX ix_tbContactos_Lista_nome_union ON tbContactos_Lista (nome_union);
GO
CREATE INDEX ix_tbContactos_Lista_no_contribuinte ON tbContactos_Lista (no_contribuinte, nome_union);
GO
CREATE INDEX ix_tbContactos_Lista_telefone ON tbContactos_Lista (telefone, nome_union);
GO
CREATE INDEX ix_tbContactos_Lista_email ON tbContactos_Lista (email, nome_union);
GO
CREATE INDEX ix_tbContactos_Lista_localidade ON tbContactos_Lista (localidade, nome_union);
GO
CREATE TRIGGER trContactos_Lista ON tbContactos AFTER INSERT, UPDATE, DELETE AS
BEGIN
  SET NOCOUNT ON;
  DELETE FROM tbContactos_Lista
    WHERE contacto_id IN (SELECT contacto_id FROM deleted) AND contacto_id NOT IN (SELECT contacto_id FROM inserted);
  UPDATE l SET genero_id = i.genero_id, nome_union = ISNULL(i.nome_union, N''),
    no_contribuinte = ISNULL(i.no_contribuinte, N'')
    FROM tbContactos_Lista l INNER JOIN inserted i ON i.contacto_id = l.contacto_id;
  INSERT INTO tbContactos_Lista (contacto_id, genero_id, nome_union, no_contribuinte)
    SELECT i.contacto_id, i.genero_id, ISNULL(i.nome_union, N''), ISNULL(i.no_contribuinte, N'') FROM inserted i
    WHERE NOT EXISTS (SELECT 1 FROM tbContactos_Lista l WHERE l.contacto_id = i.contacto_id);
END
GO
-- The default address's locality, telephone and e-mail, as the contacts'
-- view chooses them: the default row, else the first.
CREATE TRIGGER trContactos_Moradas_Lista ON tbContactos_Moradas AFTER INSERT, UPDATE, DELETE AS
BEGIN
  SET NOCOUNT ON;
  UPDATE l SET localidade = ISNULL((SELECT TOP 1 m.localidade FROM tbContactos_Moradas m
    WHERE m.contacto_id = l.contacto_id ORDER BY m.morada_default DESC, m.morada_id), N'')
    FROM tbContactos_Lista l
    WHERE l.contacto_id IN (SELECT contacto_id FROM inserted UNION SELECT contacto_id FROM deleted);
END
GO
CREATE TRIGGER trContactos_Telefones_Lista ON tbContactos_Telefones AFTER INSERT, UPDATE, DELETE AS
BEGIN
  SET NOCOUNT ON;
  UPDATE l SET telefone = ISNULL((SELECT TOP 1 t.numero FROM tbContactos_Telefones t
    WHERE t.contacto_id = l.contacto_id ORDER BY t.telefone_default DESC, t.telefone_id), N'')
    FROM tbContactos_Lista l
    WHERE l.contacto_id IN (SELECT contacto_id FROM inserted UNION SELECT contacto_id FROM deleted);
END
GO
CREATE TRIGGER trContactos_Emails_Lista ON tbContactos_Emails AFTER INSERT, UPDATE, DELETE AS
BEGIN
  SET NOCOUNT ON;
  UPDATE l SET email = ISNULL((SELECT TOP 1 e.email FROM tbContactos_Emails e
    WHERE e.contacto_id = l.contacto_id ORDER BY e.email_default DESC, e.email_id), N'')
    FROM tbContactos_Lista l
    WHERE l.contacto_id IN (SELECT contacto_id FROM inserted UNION SELECT contacto_id FROM deleted);
END
GO

-- Deletes a contact and everything attached to it as one unit: in a
-- transaction of its own when the caller has none, otherwise under a
-- savepoint of the caller's, so that a failure leaves nothing half-done.
-- Returns one row: error_number (0 on success) and error_descrit, the reason
-- in Portuguese to follow "... não é possível eliminar o registo porque ".
CREATE PROCEDURE spDELETE_CONTACTO @contacto_id INT, @flag INT = 0
AS
BEGIN
  SET NOCOUNT ON;
  IF NOT EXISTS (SELECT 1 FROM tbContactos WHERE contacto_id = @contacto_id)
  BEGIN
    SELECT 1 AS error_number, N'o contacto indicado não existe.' AS error_descrit;
    RETURN;
  END
  IF EXISTS (SELECT 1 FROM tbContactos WHERE contacto_id = @contacto_id AND (user_delete IS NULL OR user_delete <> 0))
  BEGIN
    SELECT 2 AS error_number, N'o contacto está protegido pelo sistema.' AS error_descrit;
    RETURN;
  END
  DECLARE @own BIT = CASE WHEN @@TRANCOUNT = 0 THEN 1 ELSE 0 END;
  BEGIN TRY
    IF @own = 1
      BEGIN TRANSACTION;
    ELSE
      SAVE TRANSACTION spDELETE_CONTACTO;
    IF OBJECT_ID(N'dbo.tbClientes_Apolices_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Apolices_Permitions WHERE apolice_main_id IN (SELECT apolice_main_id FROM tbClientes_Apolices WHERE contacto_id = @id);', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes_Sinistros_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Sinistros_Permitions WHERE sinistro_id IN (SELECT sinistro_id FROM tbClientes_Sinistros WHERE contacto_id = @id);', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbSeguradoras_P_Contas_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbSeguradoras_P_Contas_Permitions WHERE PContas_ID IN (SELECT PContas_ID FROM tbSeguradoras_P_Contas WHERE contacto_id = @id);', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbArquivo_Documental', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbArquivo_Documental WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbAssociados', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbAssociados WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbAssociados_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbAssociados_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes_Advogados', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Advogados WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes_Advogados_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Advogados_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes_Apolices', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Apolices WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbClientes_Sinistros', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbClientes_Sinistros WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbColaboradores', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbColaboradores WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbColaboradores_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbColaboradores_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Comunicacoes', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Comunicacoes WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Duplicados_Rejeitados', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Duplicados_Rejeitados WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Duplicados_Rejeitados', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Duplicados_Rejeitados WHERE outro_contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Emails', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Emails WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Eventos', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Eventos WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Fotos', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Fotos WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Institucionais', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Institucionais WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Moradas', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Moradas WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Notas', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Notas WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Relacionados', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Relacionados WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Singulares', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Singulares WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Telefones', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Telefones WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Tipos_Links', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Tipos_Links WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_VCard', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_VCard WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_VCard_Fundidos', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_VCard_Fundidos WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbEntidades_Custos', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbEntidades_Custos WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbEntidades_Custos_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbEntidades_Custos_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbFornecedores', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbFornecedores WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbFornecedores_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbFornecedores_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbOutsourcing', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbOutsourcing WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbOutsourcing_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbOutsourcing_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbPacientes', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbPacientes WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbPacientes_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbPacientes_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbSeguradoras', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbSeguradoras WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbSeguradoras_P_Contas', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbSeguradoras_P_Contas WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbSeguradoras_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbSeguradoras_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbTulvas_Contactos', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbTulvas_Contactos WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbTulvas_Contactos_Permitions', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbTulvas_Contactos_Permitions WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos_Relacionados', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos_Relacionados WHERE related_contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbUsers', N'U') IS NOT NULL
      EXEC sp_executesql N'UPDATE tbUsers SET contacto_id = NULL WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF OBJECT_ID(N'dbo.tbContactos', N'U') IS NOT NULL
      EXEC sp_executesql N'DELETE FROM tbContactos WHERE contacto_id = @id;', N'@id INT', @id = @contacto_id;
    IF @own = 1
      COMMIT TRANSACTION;
    SELECT 0 AS error_number, N'' AS error_descrit;
  END TRY
  BEGIN CATCH
    IF @own = 1 AND @@TRANCOUNT > 0
      ROLLBACK TRANSACTION;
    ELSE IF @own = 0 AND XACT_STATE() = 1
      ROLLBACK TRANSACTION spDELETE_CONTACTO;
    ELSE IF @own = 0 AND XACT_STATE() = -1
      THROW; -- a doomed transaction is the caller's to roll back: it must fail, not read a row
    SELECT 3 AS error_number, N'o servidor recusou a eliminação (' + ERROR_MESSAGE() + N').' AS error_descrit;
  END CATCH
END
GO

-- Files a contact in the named contact file with the given masks, as one
-- unit like spDELETE_CONTACTO. Returns one row: error_number (0 on success)
-- and error_descrit, the reason to follow "... adicionar o registo porque "
-- (the caller adds the full stop).
CREATE PROCEDURE spADD_CONTACTO_TO_GROUP @contacto_id INT, @ficheiro NVARCHAR(4000), @group_code NVARCHAR(4000), @user_code NVARCHAR(4000)
AS
BEGIN
  SET NOCOUNT ON;
  -- Longer values than their columns are refused, never cut (the embedded
  -- server does the same).
  IF DATALENGTH(@ficheiro) > 160 OR DATALENGTH(@group_code) > 800 OR DATALENGTH(@user_code) > 800
  BEGIN
    SELECT 4 AS error_number, N'o nome do ficheiro tem mais de 80 caracteres ou uma máscara mais de 400' AS error_descrit;
    RETURN;
  END
  DECLARE @tipo INT, @tabela NVARCHAR(80), @sql NVARCHAR(1000);
  SELECT TOP 1 @tipo = contacto_tipo_id, @tabela = LTRIM(RTRIM(related)) FROM tbContactos_Tipos WHERE descrit = @ficheiro ORDER BY contacto_tipo_id;
  IF @tipo IS NULL OR @tabela IS NULL OR @tabela = N''
  BEGIN
    SELECT 1 AS error_number, N'o ficheiro «' + ISNULL(@ficheiro, N'') + N'» não existe' AS error_descrit;
    RETURN;
  END
  IF NOT EXISTS (SELECT 1 FROM tbContactos WHERE contacto_id = @contacto_id)
  BEGIN
    SELECT 2 AS error_number, N'o contacto indicado não existe' AS error_descrit;
    RETURN;
  END
  DECLARE @own BIT = CASE WHEN @@TRANCOUNT = 0 THEN 1 ELSE 0 END;
  BEGIN TRY
    IF @own = 1
      BEGIN TRANSACTION;
    ELSE
      SAVE TRANSACTION spADD_CONTACTO_TO_GROUP;
    IF NOT EXISTS (SELECT 1 FROM tbContactos_Tipos_Links WHERE contacto_id = @contacto_id AND contacto_tipo_id = @tipo)
      INSERT INTO tbContactos_Tipos_Links (contacto_id, contacto_tipo_id, created_date) VALUES (@contacto_id, @tipo, GETDATE());
    SET @sql = N'IF NOT EXISTS (SELECT 1 FROM ' + QUOTENAME(@tabela) + N' WHERE contacto_id = @id) INSERT INTO '
             + QUOTENAME(@tabela) + N' (contacto_id, data_entrada) VALUES (@id, GETDATE()); '
             + N'DELETE FROM ' + QUOTENAME(@tabela + N'_Permitions') + N' WHERE contacto_id = @id; '
             + N'INSERT INTO ' + QUOTENAME(@tabela + N'_Permitions') + N' (contacto_id, user_code, group_code) VALUES (@id, @u, @g);';
    EXEC sp_executesql @sql, N'@id INT, @u NVARCHAR(400), @g NVARCHAR(400)', @id = @contacto_id, @u = @user_code, @g = @group_code;
    IF @own = 1
      COMMIT TRANSACTION;
    SELECT 0 AS error_number, N'' AS error_descrit;
  END TRY
  BEGIN CATCH
    IF @own = 1 AND @@TRANCOUNT > 0
      ROLLBACK TRANSACTION;
    ELSE IF @own = 0 AND XACT_STATE() = 1
      ROLLBACK TRANSACTION spADD_CONTACTO_TO_GROUP;
    ELSE IF @own = 0 AND XACT_STATE() = -1
      THROW;
    SELECT 3 AS error_number, N'o servidor recusou a operação (' + ERROR_MESSAGE() + N')' AS error_descrit;
  END CATCH
END
GO
