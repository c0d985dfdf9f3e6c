#pragma once
// The letter's HTML template and the merge of its fields. A site replaces the
// built-in template with its own file (see GeneratorSettings.h); fields are
// written {{name}}, and a name the merge does not know stays as written, so
// that a mistyped field shows in the document.
#include "components/adminfiscr/LetterData.h"

#include <QString>

namespace adminfiscr {

// The site's file when there is one, else the built-in letter. A site's file
// that cannot be read throws vb::Error 75.
QString letterTemplate();
QString builtInTemplate();

enum class Escaping { Html, None };
// One pass over the template: what a value carries is never read as a field.
// With Html, values are escaped and their line breaks become <br>.
QString merge(const QString& templateText, const MergeFields& fields, Escaping escaping);

} // namespace adminfiscr
