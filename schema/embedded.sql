-- The contacts database for the embedded server (SQLite). Text columns
-- compare without regard to case, as SQL Server's default collation does:
-- QV_CI is registered on every connection of the embedded server.
-- Identity columns are INTEGER PRIMARY KEY AUTOINCREMENT, so that @@IDENTITY
-- (last_insert_rowid) gives the new row's number. Dates are kept as text
-- "yyyy-MM-dd hh:mm:ss.zzz"; BIT columns hold 0 or 1.

CREATE TABLE tbContactos (
  contacto_id INTEGER PRIMARY KEY AUTOINCREMENT,
  genero_id INT NOT NULL DEFAULT 1,
  nome_union NVARCHAR(150) COLLATE QV_CI,
  no_contribuinte NVARCHAR(20) COLLATE QV_CI,
  chave NVARCHAR(60) COLLATE QV_CI,
  user_delete INT NOT NULL DEFAULT 0,
  created_by NVARCHAR(50) COLLATE QV_CI,
  created_date DATETIME,
  modified_by NVARCHAR(50) COLLATE QV_CI,
  modified_date DATETIME
);
CREATE INDEX ix_tbContactos_no_contribuinte ON tbContactos (no_contribuinte);
CREATE INDEX ix_tbContactos_nome_union ON tbContactos (nome_union);
CREATE TABLE tbContactos_Singulares (
  contacto_id INT NOT NULL PRIMARY KEY,
  nome NVARCHAR(80) COLLATE QV_CI,
  apelido NVARCHAR(80) COLLATE QV_CI,
  titulo NVARCHAR(30) COLLATE QV_CI,
  profissao NVARCHAR(60) COLLATE QV_CI,
  nacionalidade NVARCHAR(40) COLLATE QV_CI,
  data_nascimento DATETIME,
  sexo NVARCHAR(1) COLLATE QV_CI,
  no_identificacao NVARCHAR(20) COLLATE QV_CI
);
CREATE TABLE tbContactos_Institucionais_Areas_Negocio (
  area_negocio_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(80) COLLATE QV_CI NOT NULL
);
CREATE TABLE tbContactos_Institucionais (
  contacto_id INT NOT NULL PRIMARY KEY,
  area_negocio_id INT,
  sigla NVARCHAR(30) COLLATE QV_CI,
  capital_social MONEY,
  sitio NVARCHAR(120) COLLATE QV_CI
);
CREATE INDEX ix_tbContactos_Institucionais_area_negocio_id ON tbContactos_Institucionais (area_negocio_id);
CREATE TABLE tbContactos_Emails (
  email_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  email NVARCHAR(120) COLLATE QV_CI NOT NULL,
  descrit NVARCHAR(60) COLLATE QV_CI,
  email_default BIT NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbContactos_Emails_contacto_id ON tbContactos_Emails (contacto_id);
CREATE TABLE tbContactos_Moradas (
  morada_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  morada NVARCHAR(200) COLLATE QV_CI,
  codigo_postal NVARCHAR(12) COLLATE QV_CI,
  localidade NVARCHAR(60) COLLATE QV_CI,
  pais NVARCHAR(60) COLLATE QV_CI,
  morada_default BIT NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbContactos_Moradas_contacto_id ON tbContactos_Moradas (contacto_id);
CREATE TABLE tbContactos_Telefones (
  telefone_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  numero NVARCHAR(30) COLLATE QV_CI NOT NULL,
  tipo NVARCHAR(20) COLLATE QV_CI,
  telefone_default BIT NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbContactos_Telefones_contacto_id ON tbContactos_Telefones (contacto_id);
CREATE INDEX ix_tbContactos_Telefones_numero ON tbContactos_Telefones (numero);
CREATE TABLE tbContactos_Notas (
  nota_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  nota NTEXT COLLATE QV_CI,
  created_by NVARCHAR(50) COLLATE QV_CI,
  created_date DATETIME
);
CREATE INDEX ix_tbContactos_Notas_contacto_id ON tbContactos_Notas (contacto_id);
CREATE TABLE tbContactos_Fotos (
  foto_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  ficheiro NVARCHAR(260) COLLATE QV_CI,
  imagem NTEXT COLLATE QV_CI
);
CREATE INDEX ix_tbContactos_Fotos_contacto_id ON tbContactos_Fotos (contacto_id);
CREATE TABLE tbContactos_Relacionados (
  relacao_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  related_contacto_id INT NOT NULL,
  descrit NVARCHAR(60) COLLATE QV_CI,
  produto NVARCHAR(30) COLLATE QV_CI
);
CREATE INDEX ix_tbContactos_Relacionados_contacto_id ON tbContactos_Relacionados (contacto_id);
CREATE INDEX ix_tbContactos_Relacionados_related_contacto_id ON tbContactos_Relacionados (related_contacto_id);
-- A contact's vCard UID, and the properties of its cards that no column holds.
CREATE TABLE tbContactos_VCard (
  contacto_id INT NOT NULL PRIMARY KEY,
  uid NVARCHAR(100) COLLATE QV_CI NOT NULL,
  propriedades NTEXT COLLATE QV_CI
);
CREATE INDEX ix_tbContactos_VCard_uid ON tbContactos_VCard (uid);
CREATE TABLE tbContactos_Comunicacoes (
  comunicacao_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  data DATETIME,
  meio NVARCHAR(30) COLLATE QV_CI,
  assunto NVARCHAR(120) COLLATE QV_CI,
  texto NTEXT COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI,
  created_by NVARCHAR(50) COLLATE QV_CI
);
CREATE INDEX ix_tbContactos_Comunicacoes_contacto_id ON tbContactos_Comunicacoes (contacto_id);
CREATE TABLE tbContactos_Tipos (
  contacto_tipo_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(80) COLLATE QV_CI NOT NULL,
  related NVARCHAR(80) COLLATE QV_CI,
  inactivo BIT NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbContactos_Tipos_descrit ON tbContactos_Tipos (descrit);
CREATE TABLE tbContactos_Tipos_Links (
  link_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  contacto_tipo_id INT NOT NULL,
  created_date DATETIME
);
CREATE INDEX ix_tbContactos_Tipos_Links_contacto_id ON tbContactos_Tipos_Links (contacto_id);
CREATE INDEX ix_tbContactos_Tipos_Links_contacto_tipo_id ON tbContactos_Tipos_Links (contacto_tipo_id);
CREATE TABLE tbContactos_Eventos_Tipos (
  evento_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(80) COLLATE QV_CI NOT NULL
);
CREATE TABLE tbTabelas_Titulos (
  titulo_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(30) COLLATE QV_CI NOT NULL
);
CREATE UNIQUE INDEX ix_tbTabelas_Titulos_descrit ON tbTabelas_Titulos (descrit);
CREATE TABLE tbTabelas_Profissoes (
  profissao_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(60) COLLATE QV_CI NOT NULL
);
CREATE UNIQUE INDEX ix_tbTabelas_Profissoes_descrit ON tbTabelas_Profissoes (descrit);
CREATE TABLE tbTabelas_Nacionalidades (
  nacionalidade_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(40) COLLATE QV_CI NOT NULL
);
CREATE UNIQUE INDEX ix_tbTabelas_Nacionalidades_descrit ON tbTabelas_Nacionalidades (descrit);
CREATE TABLE tbTabelas_Paises (
  pais_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(60) COLLATE QV_CI NOT NULL
);
CREATE UNIQUE INDEX ix_tbTabelas_Paises_descrit ON tbTabelas_Paises (descrit);
CREATE TABLE tbContactos_Eventos (
  contacto_id INT NOT NULL,
  evento_id INT NOT NULL,
  activado BIT NOT NULL DEFAULT 0,
  PRIMARY KEY (contacto_id, evento_id)
);
CREATE INDEX ix_tbContactos_Eventos_contacto_id ON tbContactos_Eventos (contacto_id);
CREATE TABLE tbUsers (
  user_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(50) COLLATE QV_CI NOT NULL,
  code NVARCHAR(20) COLLATE QV_CI,
  nome NVARCHAR(100) COLLATE QV_CI,
  contacto_id INT
);
CREATE INDEX ix_tbUsers_descrit ON tbUsers (descrit);
CREATE INDEX ix_tbUsers_code ON tbUsers (code);
CREATE INDEX ix_tbUsers_contacto_id ON tbUsers (contacto_id);
CREATE TABLE tbGroups (
  group_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(60) COLLATE QV_CI NOT NULL,
  code NVARCHAR(20) COLLATE QV_CI
);
CREATE INDEX ix_tbGroups_code ON tbGroups (code);
CREATE TABLE tbGroups_Users_Links (
  link_id INTEGER PRIMARY KEY AUTOINCREMENT,
  group_id INT NOT NULL,
  user_id INT NOT NULL,
  predef BIT NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbGroups_Users_Links_user_id ON tbGroups_Users_Links (user_id);
CREATE INDEX ix_tbGroups_Users_Links_group_id ON tbGroups_Users_Links (group_id);
CREATE TABLE tbConfig (
  config_id INTEGER PRIMARY KEY AUTOINCREMENT,
  module_id INT NOT NULL,
  variavel NVARCHAR(60) COLLATE QV_CI NOT NULL,
  valor NVARCHAR(255) COLLATE QV_CI
);
CREATE INDEX ix_tbConfig_variavel ON tbConfig (variavel);
CREATE TABLE tbArquivo_Documental (
  arquivo_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  tipo_id INT,
  related_id INT,
  filename NVARCHAR(260) COLLATE QV_CI NOT NULL,
  path NVARCHAR(400) COLLATE QV_CI,
  created_date DATETIME,
  created_by NVARCHAR(50) COLLATE QV_CI
);
CREATE INDEX ix_tbArquivo_Documental_contacto_id ON tbArquivo_Documental (contacto_id);
CREATE TABLE tbTulvas_Contactos_Tipos (
  tipo_id INTEGER PRIMARY KEY AUTOINCREMENT,
  descrit NVARCHAR(80) COLLATE QV_CI NOT NULL
);
CREATE TABLE tbClientes (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbColaboradores (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbTulvas_Contactos (
  contacto_id INT NOT NULL PRIMARY KEY,
  tipo_id INT,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbOutsourcing (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbSeguradoras (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbPacientes (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbFornecedores (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbEntidades_Custos (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbClientes_Advogados (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbAssociados (
  contacto_id INT NOT NULL PRIMARY KEY,
  data_entrada DATETIME,
  referencia NVARCHAR(30) COLLATE QV_CI,
  activo BIT NOT NULL DEFAULT 1,
  observacoes NTEXT COLLATE QV_CI
);
CREATE TABLE tbClientes_Apolices (
  apolice_main_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  descrit NVARCHAR(120) COLLATE QV_CI
);
CREATE INDEX ix_tbClientes_Apolices_contacto_id ON tbClientes_Apolices (contacto_id);
CREATE TABLE tbClientes_Sinistros (
  sinistro_id INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  descrit NVARCHAR(120) COLLATE QV_CI
);
CREATE INDEX ix_tbClientes_Sinistros_contacto_id ON tbClientes_Sinistros (contacto_id);
CREATE TABLE tbSeguradoras_P_Contas (
  PContas_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  contacto_id INT NOT NULL,
  descrit NVARCHAR(120) COLLATE QV_CI
);
CREATE INDEX ix_tbSeguradoras_P_Contas_contacto_id ON tbSeguradoras_P_Contas (contacto_id);
CREATE TABLE tbClientes_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbClientes_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbClientes_Permitions_Criar_Groups_code ON tbClientes_Permitions_Criar_Groups (code);
CREATE TABLE tbClientes_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbClientes_Permitions_Criar_Users_code ON tbClientes_Permitions_Criar_Users (code);
CREATE TABLE tbColaboradores_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbColaboradores_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbColaboradores_Permitions_Criar_Groups_code ON tbColaboradores_Permitions_Criar_Groups (code);
CREATE TABLE tbColaboradores_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbColaboradores_Permitions_Criar_Users_code ON tbColaboradores_Permitions_Criar_Users (code);
CREATE TABLE tbTulvas_Contactos_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbTulvas_Contactos_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbTulvas_Contactos_Permitions_Criar_Groups_code ON tbTulvas_Contactos_Permitions_Criar_Groups (code);
CREATE TABLE tbTulvas_Contactos_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbTulvas_Contactos_Permitions_Criar_Users_code ON tbTulvas_Contactos_Permitions_Criar_Users (code);
CREATE TABLE tbOutsourcing_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbOutsourcing_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbOutsourcing_Permitions_Criar_Groups_code ON tbOutsourcing_Permitions_Criar_Groups (code);
CREATE TABLE tbOutsourcing_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbOutsourcing_Permitions_Criar_Users_code ON tbOutsourcing_Permitions_Criar_Users (code);
CREATE TABLE tbSeguradoras_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbSeguradoras_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbSeguradoras_Permitions_Criar_Groups_code ON tbSeguradoras_Permitions_Criar_Groups (code);
CREATE TABLE tbSeguradoras_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbSeguradoras_Permitions_Criar_Users_code ON tbSeguradoras_Permitions_Criar_Users (code);
CREATE TABLE tbPacientes_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbPacientes_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbPacientes_Permitions_Criar_Groups_code ON tbPacientes_Permitions_Criar_Groups (code);
CREATE TABLE tbPacientes_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbPacientes_Permitions_Criar_Users_code ON tbPacientes_Permitions_Criar_Users (code);
CREATE TABLE tbFornecedores_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbFornecedores_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbFornecedores_Permitions_Criar_Groups_code ON tbFornecedores_Permitions_Criar_Groups (code);
CREATE TABLE tbFornecedores_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbFornecedores_Permitions_Criar_Users_code ON tbFornecedores_Permitions_Criar_Users (code);
CREATE TABLE tbEntidades_Custos_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbEntidades_Custos_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbEntidades_Custos_Permitions_Criar_Groups_code ON tbEntidades_Custos_Permitions_Criar_Groups (code);
CREATE TABLE tbEntidades_Custos_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbEntidades_Custos_Permitions_Criar_Users_code ON tbEntidades_Custos_Permitions_Criar_Users (code);
CREATE TABLE tbClientes_Advogados_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbClientes_Advogados_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbClientes_Advogados_Permitions_Criar_Groups_code ON tbClientes_Advogados_Permitions_Criar_Groups (code);
CREATE TABLE tbClientes_Advogados_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbClientes_Advogados_Permitions_Criar_Users_code ON tbClientes_Advogados_Permitions_Criar_Users (code);
CREATE TABLE tbAssociados_Permitions (
  contacto_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbAssociados_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbAssociados_Permitions_Criar_Groups_code ON tbAssociados_Permitions_Criar_Groups (code);
CREATE TABLE tbAssociados_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbAssociados_Permitions_Criar_Users_code ON tbAssociados_Permitions_Criar_Users (code);
CREATE TABLE tbClientes_Apolices_Permitions (
  apolice_main_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbClientes_Apolices_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbClientes_Apolices_Permitions_Criar_Groups_code ON tbClientes_Apolices_Permitions_Criar_Groups (code);
CREATE TABLE tbClientes_Apolices_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbClientes_Apolices_Permitions_Criar_Users_code ON tbClientes_Apolices_Permitions_Criar_Users (code);
CREATE TABLE tbClientes_Sinistros_Permitions (
  sinistro_id INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbClientes_Sinistros_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbClientes_Sinistros_Permitions_Criar_Groups_code ON tbClientes_Sinistros_Permitions_Criar_Groups (code);
CREATE TABLE tbClientes_Sinistros_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbClientes_Sinistros_Permitions_Criar_Users_code ON tbClientes_Sinistros_Permitions_Criar_Users (code);
CREATE TABLE tbSeguradoras_P_Contas_Permitions (
  PContas_ID INT NOT NULL PRIMARY KEY,
  user_code NVARCHAR(400) COLLATE QV_CI,
  group_code NVARCHAR(400) COLLATE QV_CI
);
CREATE TABLE tbSeguradoras_P_Contas_Permitions_Criar_Groups (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL,
  group_code NVARCHAR(400) COLLATE QV_CI,
  user_code NVARCHAR(400) COLLATE QV_CI
);
CREATE INDEX ix_tbSeguradoras_P_Contas_Permitions_Criar_Groups_code ON tbSeguradoras_P_Contas_Permitions_Criar_Groups (code);
CREATE TABLE tbSeguradoras_P_Contas_Permitions_Criar_Users (
  criar_id INTEGER PRIMARY KEY AUTOINCREMENT,
  code NVARCHAR(20) COLLATE QV_CI NOT NULL
);
CREATE INDEX ix_tbSeguradoras_P_Contas_Permitions_Criar_Users_code ON tbSeguradoras_P_Contas_Permitions_Criar_Users (code);

CREATE VIEW vwContactos_Quarvenses_Completos AS
SELECT c.contacto_id, c.genero_id, c.nome_union, s.titulo, s.nome, s.apelido, s.sexo, c.no_contribuinte, c.chave,
  (SELECT m.morada FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1) AS morada,
  (SELECT m.codigo_postal FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1) AS codigo_postal,
  (SELECT m.localidade FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1) AS localidade,
  (SELECT m.pais FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id ORDER BY m.morada_default DESC, m.morada_id LIMIT 1) AS pais,
  (SELECT t.numero FROM tbContactos_Telefones t WHERE t.contacto_id = c.contacto_id ORDER BY t.telefone_default DESC, t.telefone_id LIMIT 1) AS telefone,
  (SELECT e.email FROM tbContactos_Emails e WHERE e.contacto_id = c.contacto_id ORDER BY e.email_default DESC, e.email_id LIMIT 1) AS email
FROM tbContactos c
  INNER JOIN tbTulvas_Contactos f ON f.contacto_id = c.contacto_id
  LEFT JOIN tbContactos_Singulares s ON s.contacto_id = c.contacto_id AND c.genero_id = 1;
