#!/bin/sh
# Runs every fuzz target for FUZZ_SECONDS (default 60) from its seeds and
# the corpus it grew before. A crash stops with the failing input kept under
# <build>/artifacts. Usage: run_fuzz.sh <fuzz build dir> [target...]
set -e
build=$(cd "$1" && pwd)
shift
source=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
targets=${*:-"play_string_fuzz key_signature_fuzz tablature_fuzz settings_fuzz dictionary_fuzz text_page_fuzz version_fuzz score_fuzz"}

# The seeds of each target: test strings and the files of the data template.
seeds() {
  case $1 in
    play_string_fuzz|key_signature_fuzz) echo "$source/fuzz/seeds/play_string" ;;
    tablature_fuzz) echo "$source/fuzz/seeds/tablature $source/data/orfeon/*.tab" ;;
    settings_fuzz) echo "$source/data/orfeon/lexiton.ini" ;;
    dictionary_fuzz) echo "$source/fuzz/seeds/dictionary $source/data/orfeon/lexiton.dic" ;;
    text_page_fuzz) echo "$source/fuzz/seeds/text_page $source/data/orfeon/*" ;;
    version_fuzz) echo "$build/version-block" ;;
    score_fuzz) echo "$source/fuzz/seeds/score" ;;
  esac
}

# The program's own version block, as the build makes it.
python3 -c "import sys; sys.path.insert(0, '$source/tools'); import make_version_block as m; \
sys.stdout.buffer.write(m.version_block('0.1.0'))" > "$build/version-block"

# The targets' data root, removed even when a target crashes.
root=$(mktemp -d /dev/shm/pavsdi-fuzz-XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$root"' EXIT
trap 'exit 130' INT TERM

status=0
for target in $targets; do
  corpus=$build/corpus/$target
  seedDir=$build/seeds/$target
  mkdir -p "$corpus" "$seedDir" "$build/artifacts/$target"
  for seed in $(seeds "$target"); do
    if [ -d "$seed" ]; then cp "$seed"/* "$seedDir"/; else cp "$seed" "$seedDir"/; fi
  done
  log=$build/logs/$target.log
  mkdir -p "$build/logs"
  if PAVSDI_FUZZ_ROOT=$root "$build/$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/$target/" -print_final_stats=1 \
       "$corpus" "$seedDir" >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see $log)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$target: ${runs:-?} executions in ${seconds} s, $(ls "$corpus" | wc -l) corpus entries: $result"
done
exit $status
