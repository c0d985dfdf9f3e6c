#pragma once
// Qt's own texts (standard buttons, file dialogs, context menus) in European
// Portuguese. Qt's European Portuguese catalogue (qtbase_pt, or the older
// qt_pt_PT that Debian ships) is loaded from Qt's translations folder; the
// texts Qt 6 added since that catalogue was made come from a small table of
// ours, searched first. Brazilian catalogues are never used.
#include <QString>
#include <QTranslator>

namespace platform {

// Installs both in the application once; later calls do nothing. True when
// Qt's catalogue was found (our table is installed either way).
bool installPortugueseTranslations();

// Our table: the texts Qt's catalogue lacks.
class PortugueseSupplement : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace platform
