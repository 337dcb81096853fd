#!/usr/bin/env bash
# Extracts every text the analyst reads into a Qt translation file, as a translator would
# start from: bash scripts/texts.sh OUT.ts. The core marks its texts with Translate and
# VARDUN_TEXT (model/Texts.h); the windows use Qt's tr(), translate and QT_TRANSLATE_NOOP.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: texts.sh OUT.ts}
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -silent -locations none -no-obsolete \
    -tr-function-alias translate+=Translate,QT_TRANSLATE_NOOP+=VARDUN_TEXT \
    -I . model analysis ui app -ts "$out"
