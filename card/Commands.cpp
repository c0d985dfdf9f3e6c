// The card's commands: the menus, the toolbar and what each item does.
#include "card/frmInicial.h"

#include "card/CardImages.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
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

QAction* menuItem(QMenu* menu, const char* name, const char* text)
{
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

void frmInicial::saveShownTab()
{
    qint32 tab = selectedTab();
    GravarCampos(tab);
}

void frmInicial::buildMenus()
{
    QMenu* ficheiro = menuBar()->addMenu(QStringLiteral("&Ficheiro"));
    ficheiro->setObjectName(QStringLiteral("mnFicheiro"));
    QAction* novo = menuItem(ficheiro, "mnNovo", "&Novo Registo");
    mnGravar = menuItem(ficheiro, "mnGravar", "&Gravar");
    mnGravar->setEnabled(false);
    ficheiro->addSeparator();
    mnConverterInstitucional =
        menuItem(ficheiro, "mnConverterInstitucional", "Converter em Contacto Institucional");
    mnConverterSingular = menuItem(ficheiro, "mnConverterSingular", "Converter em Contacto Singular");
    mnTransferir = menuItem(ficheiro, "mnTransferir", "&Transferir para Inactivos");
    ficheiro->addSeparator();
    QAction* primeiro = menuItem(ficheiro, "mnPrimeiro", "Mover para &Primeiro");
    menuItem(ficheiro, "mnAnterior", "Mover para &Anterior");
    QAction* seguinte = menuItem(ficheiro, "mnSeguinte", "Mover para &Seguinte");
    QAction* ultimo = menuItem(ficheiro, "mnUltimo", "Mover para Últim&o");
    ficheiro->addSeparator();
    menuItem(ficheiro, "mnImprimir", "&Imprimir");
    menuItem(ficheiro, "mnRemover", "&Remover");
    ficheiro->addSeparator();
    QAction* fechar = menuItem(ficheiro, "mnFechar", "&Fechar");
    QMenu* tabelas = menuBar()->addMenu(QStringLiteral("&Tabelas"));
    tabelas->setObjectName(QStringLiteral("mnTabelas"));
    menuItem(tabelas, "mnTitulos", "&Títulos");
    menuItem(tabelas, "mnProfissoes", "&Profissões");
    menuItem(tabelas, "mnNacionalidades", "&Nacionalidades");
    menuItem(tabelas, "mnPaises", "P&aises");
    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("&Ajuda"));
    ajuda->setObjectName(QStringLiteral("mnAjuda"));

    connect(ficheiro, &QMenu::aboutToShow, this,
            [this] { mnTransferir->setText(QStringLiteral("&Transferir para Inactivos")); });
    connect(novo, &QAction::triggered, this, &frmInicial::mnNovo_Click);
    connect(mnGravar, &QAction::triggered, this, &frmInicial::saveShownTab);
    connect(primeiro, &QAction::triggered, this, &frmInicial::moveFirst);
    connect(seguinte, &QAction::triggered, this, &frmInicial::moveNext);
    connect(ultimo, &QAction::triggered, this, &frmInicial::moveLast);
    connect(fechar, &QAction::triggered, this, &QWidget::close);
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
        if (b.separatorAfter)
            Toolbar1->addSeparator();
    }
    connect(toolbarButton(QStringLiteral("btGravar")), &QAction::triggered, this, &frmInicial::saveShownTab);
    connect(toolbarButton(QStringLiteral("btNovo")), &QAction::triggered, this, &frmInicial::mnNovo_Click);
    connect(toolbarButton(QStringLiteral("btPrimeiro")), &QAction::triggered, this, &frmInicial::moveFirst);
    connect(toolbarButton(QStringLiteral("btAnterior")), &QAction::triggered, this,
            &frmInicial::movePrevious);
    connect(toolbarButton(QStringLiteral("btSeguinte")), &QAction::triggered, this, &frmInicial::moveNext);
    connect(toolbarButton(QStringLiteral("btUltimo")), &QAction::triggered, this, &frmInicial::moveLast);
    connect(toolbarButton(QStringLiteral("btSair")), &QAction::triggered, this, &QWidget::close);
    addToolBarBreak();
    auto* holder = new QToolBar(this);
    holder->setObjectName(QStringLiteral("CoolBarHolder"));
    holder->setMovable(false);
    holder->addWidget(CoolBar1);
    addToolBar(holder);
}
