#include "platform/windows/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstring>

namespace platform {

namespace {

const char installedMarker[] = "quarvenses-traducoes";

struct Text {
    const char* context;
    const char* source;
    const char* portuguese;
};

// Spelling as in the rest of the product (and Qt's own European catalogue):
// "Gravar", "Seleccionar", "ficheiro".
const Text supplement[] = {
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "&Yes", "&Sim"},
    {"QPlatformTheme", "&No", "&Não"},
    {"QPlatformTheme", "Yes to &All", "Sim a &tudo"},
    {"QPlatformTheme", "N&o to All", "Nã&o a tudo"},
    {"QPlatformTheme", "Cancel", "Cancelar"},
    {"QPlatformTheme", "Close", "Fechar"},
    {"QPlatformTheme", "Open", "Abrir"},
    {"QPlatformTheme", "Save", "Gravar"},
    {"QPlatformTheme", "Save All", "Gravar tudo"},
    {"QPlatformTheme", "Discard", "Descartar"},
    {"QPlatformTheme", "Apply", "Aplicar"},
    {"QPlatformTheme", "Reset", "Repor"},
    {"QPlatformTheme", "Restore Defaults", "Repor predefinições"},
    {"QPlatformTheme", "Help", "Ajuda"},
    {"QPlatformTheme", "Abort", "Abortar"},
    {"QPlatformTheme", "Retry", "Tentar de novo"},
    {"QPlatformTheme", "Ignore", "Ignorar"},
    {"QFileDialog", "Look in:", "Procurar em:"},
    {"QFileDialog", "Files", "Ficheiros"},
    {"QFileDialog", "Folder", "Pasta"},
    {"QFileDialog", "File Folder", "Pasta de ficheiros"},
    {"QFileDialog", "%1 File", "Ficheiro %1"},
    {"QFileDialog", "Alias", "Atalho"},
    {"QFileDialog", "Shortcut", "Atalho"},
    {"QFileDialog", "All files (*)", "Todos os ficheiros (*)"},
    {"QFileDialog", "&Choose", "&Escolher"},
    {"QFileDialog", "&New Folder", "&Nova pasta"},
    {"QFileDialog", "Create a New Folder", "Criar uma pasta nova"},
    {"QFileDialog", "Delete", "Apagar"},
    {"QFileDialog", "Remove", "Remover"},
    {"QFileDialog", "Are you sure you want to delete '%1'?", "Tem a certeza de que quer apagar '%1'?"},
    {"QFileDialog", "Show ", "Mostrar "},
    {"QFileDialog", "Sidebar", "Barra lateral"},
    {"QFileDialog", "List of places and bookmarks", "Lista de locais e marcadores"},
    {"QFileDialog", "Recent Places", "Locais recentes"},
    {"QFileDialog", "Go back", "Recuar"},
    {"QFileDialog", "Go forward", "Avançar"},
    {"QFileDialog", "Go to the parent directory", "Ir para a pasta acima"},
    {"QFileDialog", "Change to list view mode", "Mudar para a vista de lista"},
    {"QFileDialog", "Change to detail view mode", "Mudar para a vista de detalhes"},
    {"QFileSystemModel", "Computer", "Computador"},
    {"QFileSystemModel", "Invalid filename", "Nome de ficheiro inválido"},
    {"QFileSystemModel",
     "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or no "
     "punctuation "
     "marks.",
     "<b>O nome \"%1\" não pode ser usado.</b><p>Experimente outro nome, com menos caracteres ou sem sinais "
     "de "
     "pontuação."},
    {"QWidgetTextControl", "&Undo", "&Desfazer"},
    {"QWidgetTextControl", "&Redo", "&Refazer"},
    {"QWidgetTextControl", "Cu&t", "Cor&tar"},
    {"QWidgetTextControl", "&Copy", "&Copiar"},
    {"QWidgetTextControl", "&Paste", "Co&lar"},
    {"QWidgetTextControl", "Delete", "Apagar"},
    {"QWidgetTextControl", "Select All", "Seleccionar Tudo"},
    {"QWidgetTextControl", "Copy &Link Location", "Copiar &localização da ligação"},
    {"QAbstractSpinBox", "&Select All", "&Seleccionar Tudo"},
    {"QInputDialog", "Enter a value:", "Introduza um valor:"},
    {"QComboBox", "Open the combo box selection popup", "Abrir a lista de escolha"},
    {"QErrorMessage", "Critical Error:", "Erro crítico:"},
    {"QErrorMessage", "Information:", "Informação:"},
    {"QKeySequenceEdit", "Press shortcut", "Prima o atalho"},
};

bool loadQtCatalogue(QTranslator& catalogue)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale european(QLocale::Portuguese, QLocale::Portugal);
    // QTranslator tries qtbase_pt_PT then qtbase_pt: never pt_BR.
    return catalogue.load(european, QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
           catalogue.load(european, QStringLiteral("qt"), QStringLiteral("_"), folder);
}

} // namespace

QString PortugueseSupplement::translate(const char* context, const char* sourceText, const char*, int) const
{
    if (!context || !sourceText)
        return {};
    for (const Text& t : supplement)
        if (std::strcmp(t.context, context) == 0 && std::strcmp(t.source, sourceText) == 0)
            return QString::fromUtf8(t.portuguese);
    return {};
}

bool installPortugueseTranslations()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (QObject* marker =
            app->findChild<QObject*>(QString::fromLatin1(installedMarker), Qt::FindDirectChildrenOnly))
        return marker->property("catalogue").toBool();
    // Both live as children of the application: for as long as it does.
    auto* catalogue = new QTranslator(app);
    const bool found = loadQtCatalogue(*catalogue);
    if (found)
        QCoreApplication::installTranslator(catalogue);
    else
        delete catalogue;
    auto* ours = new PortugueseSupplement(app);
    ours->setObjectName(QString::fromLatin1(installedMarker));
    ours->setProperty("catalogue", found);
    QCoreApplication::installTranslator(ours);
    return found;
}

} // namespace platform
