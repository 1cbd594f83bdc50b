#!/usr/bin/env bash
# Renders a two-page job to HTML and PDF through papyra-batch, opens the HTML in headless
# Chromium and checks that both pages and their texts are where the PDF has them:
#   1. text boxes measured by the browser (DOM) against `pdftotext -bbox` of the PDF;
#   2. a screenshot: rows holding dark ink on each page against `pdftoppm` of the PDF.
# usage: html_check.sh PAPYRA_BATCH PROJECT.rpj      (exit 77: skipped)
set -euo pipefail
batch=$1
project=$2
chrome=$(command -v chromium || command -v chromium-browser || command -v google-chrome || true)
if [ -z "$chrome" ]; then echo "SKIPPED: chromium is not installed"; exit 77; fi
for tool in pdftotext pdftoppm python3; do
  if ! command -v "$tool" >/dev/null; then echo "SKIPPED: $tool is not installed"; exit 77; fi
done
tmp=$(mktemp -d)
trap '[ -n "${KEEP_TMP:-}" ] || rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen

"$batch" report "$project" Sample --copies 2 --out "$tmp/job.snp" \
  --param "PayerName=ACME Widgets Incorporated" --param "PayerAddress=1200 Main Street" \
  --param "PayerCity=Springfield, IL 62701" --param "Amount=1,234,567.89" >/dev/null
"$batch" render "$tmp/job.snp" --out "$tmp/job.html" >/dev/null
"$batch" render "$tmp/job.snp" --out "$tmp/job.pdf" >/dev/null
pdftotext -bbox "$tmp/job.pdf" "$tmp/words.html"
pdftoppm -r 96 -gray "$tmp/job.pdf" "$tmp/pdf"

# A copy of the page that writes every text's box (inches from its page's corner) into the DOM.
sed 's#</body>#<pre id="boxes"></pre><script>\
const out = [];\
document.querySelectorAll("svg.page").forEach((svg, p) => {\
  const s = svg.getBoundingClientRect();\
  svg.querySelectorAll("text").forEach(t => {\
    const r = t.getBoundingClientRect();\
    out.push([p + 1, (r.left - s.left) / 96, (r.top - s.top) / 96, (r.right - s.left) / 96,\
              (r.bottom - s.top) / 96, t.textContent].join("\\t"));\
  });\
});\
document.getElementById("boxes").textContent = out.join("\\n");\
</script></body>#' "$tmp/job.html" >"$tmp/measure.html"

flags=(--headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking
       --disable-component-update --disable-sync --hide-scrollbars)
"$chrome" "${flags[@]}" --user-data-dir="$tmp/profile1" --virtual-time-budget=3000 \
  --dump-dom "file://$tmp/measure.html" >"$tmp/dom.html" 2>"$tmp/chrome1.log"
"$chrome" "${flags[@]}" --user-data-dir="$tmp/profile2" --window-size=900,2200 \
  --screenshot="$tmp/shot.png" "file://$tmp/job.html" >/dev/null 2>"$tmp/chrome2.log"

/usr/bin/env python3 "$(dirname "$0")/html_compare.py" "$tmp"
