// The card's commands: the menus, the toolbar and the buttons, each to its
// handler, every handler reporting its own failures under its own name.
// Shortcuts follow the desktop's conventions and show in the menus; the
// access keys of the captions keep working.
#include "card/frmInicial.h"

#include "card/CardImages.h"
#include "card/CardSettings.h"
#include "card/ComponentFiles.h"
#include "connection/ConnectionState.h"
#include "panels/LookupTableEditor.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDTulvas.h"
#include "platform/windows/WindowServices.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

struct ToolbarButton {
    const char* key;
    const char* caption;
    int image;
    bool separatorAfter;
};

// Ten buttons with separators among them: fourteen items.
const ToolbarButton toolbarButtons[] = {
    {"btGravar", "Gravar", CardImages::Save, true},
    {"btNovo", "Novo", CardImages::New, true},
    {"btPrimeiro", "Primeiro", CardImages::First, false},
    {"btAnterior", "Anterior", CardImages::Previous, false},
    {"btSeguinte", "Seguinte", CardImages::Next, false},
    {"btUltimo", "Último", CardImages::Last, true},
    {"btImprimir", "Impressões", CardImages::Prints, false},
    {"btApagar", "Apagar", CardImages::Delete, true},
    {"btAjuda", "Ajuda", CardImages::Help, false},
    {"btSair", "Sair", CardImages::Exit, false},
};

constexpr int toolbarIconSize = 24;
const QString transferToInactive = QStringLiteral("&Transferir para Inactivos");
const QString transferToActive = QStringLiteral("&Transferir para Activos");
const QString inactiveFiles = QStringLiteral("Inactivos");

// Every key the desktop binds to a standard command (QKeySequence(key) would
// keep only the first), and the conventional one when the desktop has other ideas.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const QKeySequence& conventional = {})
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!conventional.isEmpty() && !keys.contains(conventional))
        keys.append(conventional);
    return keys;
}

QAction* menuItem(QMenu* menu, const char* name, const char* text, const QList<QKeySequence>& keys = {})
{
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    return a;
}

} // namespace

// Runs a handler; a failure goes to the report under the handler's name.
void frmInicial::handle(const char* procedure, const std::function<void()>& work)
{
    try {
        work();
    } catch (const vb::Error& e) {
        reportError(QString::fromLatin1(procedure), e);
    }
}

void frmInicial::saveShownTab()
{
    qint32 tab = selectedTab();
    GravarCampos(tab);
}

void frmInicial::buildMenus()
{
    QMenu* ficheiro = menuBar()->addMenu(QStringLiteral("&Ficheiro"));
    ficheiro->setObjectName(QStringLiteral("mnFicheiro"));
    QAction* novo = menuItem(ficheiro, "mnNovo", "&Novo Registo",
                             standardKeys(QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N)));
    mnGravar = menuItem(ficheiro, "mnGravar", "&Gravar",
                        standardKeys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    mnGravar->setEnabled(false);
    ficheiro->addSeparator();
    mnConverterInstitucional =
        menuItem(ficheiro, "mnConverterInstitucional", "Converter em Contacto Institucional");
    mnConverterSingular = menuItem(ficheiro, "mnConverterSingular", "Converter em Contacto Singular");
    mnTransferir = menuItem(ficheiro, "mnTransferir", "&Transferir para Inactivos");
    mnTransferir->setEnabled(false);
    mnTransferir->setToolTip(
        QStringLiteral("A transferência entre ficheiros activos e inactivos faz-se na gestão de ficheiros."));
    ficheiro->addSeparator();
    QAction* primeiro =
        menuItem(ficheiro, "mnPrimeiro", "Mover para &Primeiro", {QKeySequence(Qt::ALT | Qt::Key_Home)});
    QAction* anterior =
        menuItem(ficheiro, "mnAnterior", "Mover para &Anterior",
                 {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    QAction* seguinte =
        menuItem(ficheiro, "mnSeguinte", "Mover para &Seguinte",
                 {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    QAction* ultimo =
        menuItem(ficheiro, "mnUltimo", "Mover para Últim&o", {QKeySequence(Qt::ALT | Qt::Key_End)});
    ficheiro->addSeparator();
    QAction* imprimir = menuItem(ficheiro, "mnImprimir", "&Imprimir",
                                 standardKeys(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
    QAction* remover = menuItem(ficheiro, "mnRemover", "&Remover");
    ficheiro->addSeparator();
    QAction* exportar = menuItem(ficheiro, "mnExportarVCard", "&Exportar vCard…");
    QAction* enviar = menuItem(ficheiro, "mnEnviarVCard", "Enviar vCard por &correio…");
    ficheiro->addSeparator();
    QAction* fechar = menuItem(ficheiro, "mnFechar", "&Fechar",
                               standardKeys(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W)));
    QMenu* tabelas = menuBar()->addMenu(QStringLiteral("&Tabelas"));
    tabelas->setObjectName(QStringLiteral("mnTabelas"));
    // Titles, professions, nationalities and countries: each its words' editor.
    const std::pair<const char*, const char*> tableItems[] = {{"mnTitulos", "&Títulos"},
                                                              {"mnProfissoes", "&Profissões"},
                                                              {"mnNacionalidades", "&Nacionalidades"},
                                                              {"mnPaises", "P&aises"}};
    for (qsizetype i = 0; i < qsizetype(std::size(tableItems)); ++i) {
        QAction* table = menuItem(tabelas, tableItems[i].first, tableItems[i].second);
        connect(table, &QAction::triggered, this, [this, i] {
            handle("mnTabelas_Click", [this, i] {
                LookupTableEditor editor(lookupTables().at(i), Conn().strUser, this);
                if (editor.load())
                    editor.exec();
            });
        });
    }
    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("&Ajuda"));
    ajuda->setObjectName(QStringLiteral("mnAjuda"));
    QAction* manual = menuItem(ajuda, "mnManual", "&Manual de utilização",
                               standardKeys(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));

    connect(ficheiro, &QMenu::aboutToShow, this, &frmInicial::mnFicheiro_Click);
    connect(novo, &QAction::triggered, this, &frmInicial::mnNovo_Click);
    connect(mnGravar, &QAction::triggered, this,
            [this] { handle("mnGravar_Click", [this] { saveShownTab(); }); });
    connect(mnConverterInstitucional, &QAction::triggered, this, &frmInicial::mnConverterInstitucional_Click);
    connect(mnConverterSingular, &QAction::triggered, this, &frmInicial::mnConverterSingular_Click);
    connect(mnTransferir, &QAction::triggered, this, &frmInicial::mnTransferir_Click);
    connect(primeiro, &QAction::triggered, this, [this] { navigate(Move::First, "mnPrimeiro_Click"); });
    connect(anterior, &QAction::triggered, this, [this] { navigate(Move::Previous, "mnAnterior_Click"); });
    connect(seguinte, &QAction::triggered, this, [this] { navigate(Move::Next, "mnSeguinte_Click"); });
    connect(ultimo, &QAction::triggered, this, [this] { navigate(Move::Last, "mnUltimo_Click"); });
    connect(imprimir, &QAction::triggered, this,
            [this] { handle("mnImprimir_Click", [this] { showPrints(); }); });
    connect(remover, &QAction::triggered, this, &frmInicial::mnRemover_Click);
    connect(exportar, &QAction::triggered, this,
            [this] { handle("mnExportarVCard_Click", [this] { exportVCard(); }); });
    connect(enviar, &QAction::triggered, this,
            [this] { handle("mnEnviarVCard_Click", [this] { mailVCard(); }); });
    connect(fechar, &QAction::triggered, this, [this] { handle("mnFechar_Click", [this] { close(); }); });
    connect(manual, &QAction::triggered, this, [this] { handle("mnAjuda_Click", [this] { showManual(); }); });
    // Escape closes the card too (through the save question), as Ctrl+W does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { handle("mnFechar_Click", [this] { close(); }); });
}

void frmInicial::buildToolbar()
{
    CoolBar1 = new QWidget(this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    Toolbar1 = new QToolBar(CoolBar1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(toolbarIconSize, toolbarIconSize));
    Toolbar1->setMovable(false);
    auto* band = new QVBoxLayout(CoolBar1);
    band->setContentsMargins(2, 2, 2, 2);
    band->addWidget(Toolbar1);
    for (const ToolbarButton& b : toolbarButtons) {
        QAction* a = Toolbar1->addAction(ImageList_Active[b.image - 1], QString::fromUtf8(b.caption));
        a->setObjectName(QString::fromLatin1(b.key));
        images_.insert(a->objectName(), b.image);
        const QString key = a->objectName();
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        if (b.separatorAfter)
            Toolbar1->addSeparator();
    }
    // Delete removes the contact only from the toolbar, never while a field is edited.
    auto* remove = new QShortcut(QKeySequence::Delete, Toolbar1);
    remove->setContext(Qt::WidgetWithChildrenShortcut);
    connect(remove, &QShortcut::activated, this, &frmInicial::mnRemover_Click);
    addToolBarBreak();
    auto* holder = new QToolBar(this);
    holder->setObjectName(QStringLiteral("CoolBarHolder"));
    holder->setMovable(false);
    holder->addWidget(CoolBar1);
    addToolBar(holder);
}

void frmInicial::connectCommandButtons()
{
    connect(commands_[2], &QPushButton::clicked, this,
            [this] { handle("Command2_Click", [this] { saveShownTab(); }); });
    connect(commands_[3], &QPushButton::clicked, this, [this] { navigate(Move::Last, "Command3_Click"); });
    connect(commands_[4], &QPushButton::clicked, this, [this] { navigate(Move::Next, "Command4_Click"); });
    connect(commands_[5], &QPushButton::clicked, this,
            [this] { navigate(Move::Previous, "Command5_Click"); });
    connect(commands_[6], &QPushButton::clicked, this, [this] { navigate(Move::First, "Command6_Click"); });
    connect(commands_[13], &QPushButton::clicked, this,
            [this] { handle("Command13_Click", [this] { ucIDPermitions1->AddUser(); }); });
    connect(commands_[12], &QPushButton::clicked, this,
            [this] { handle("Command12_Click", [this] { ucIDPermitions1->AddGroup(); }); });
    connect(commands_[11], &QPushButton::clicked, this,
            [this] { handle("Command11_Click", [this] { ucIDPermitions1->RemoveEntry(); }); });
}

void frmInicial::Toolbar1_ButtonClick(const QString& key)
{
    const char* const procedure = "Toolbar1_ButtonClick";
    if (key == QLatin1String("btGravar"))
        handle(procedure, [this] { saveShownTab(); });
    else if (key == QLatin1String("btNovo"))
        handle(procedure, [this] { mnNovo_Click(); });
    else if (key == QLatin1String("btSair"))
        handle(procedure, [this] { close(); });
    else if (key == QLatin1String("btPrimeiro"))
        navigate(Move::First, procedure);
    else if (key == QLatin1String("btAnterior"))
        navigate(Move::Previous, procedure);
    else if (key == QLatin1String("btSeguinte"))
        navigate(Move::Next, procedure);
    else if (key == QLatin1String("btUltimo"))
        navigate(Move::Last, procedure);
    else if (key == QLatin1String("btApagar"))
        mnRemover_Click();
    else if (key == QLatin1String("btImprimir"))
        handle(procedure, [this] { showPrints(); });
    else if (key == QLatin1String("btAjuda"))
        handle(procedure, [this] { showManual(); });
}

// The File menu opening: the Transfer item names the files it would move to.
void frmInicial::mnFicheiro_Click()
{
    handle("mnFicheiro_Click", [this] {
        mnTransferir->setText(currentFile_ == inactiveFiles ? transferToActive : transferToInactive);
    });
}

// Moving contacts between active and inactive files is done by the family's
// file manager; the card offers the command greyed out.
void frmInicial::mnTransferir_Click()
{
    handle("mnTransferir_Click", [] {});
}

bool frmInicial::TransferirDados(const QString&, const QString&, bool, const QString&)
{
    return false;
}

void frmInicial::Descrit2_Click()
{
    handle("Descrit2_Click", [this] { ucIDTulvas1->ShowTypes(0, 0); });
}

// The user's manual, a page shipped with the component, in the desktop's viewer.
void frmInicial::showManual()
{
    platform::WindowServices::current().openDocument(this, card::manualPath(),
                                                     QStringLiteral("Manual de utilização"));
}
