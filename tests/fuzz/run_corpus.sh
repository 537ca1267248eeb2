#!/usr/bin/env bash
# Runs a fuzz target once over every input of its corpus: the regression run.
set -euo pipefail
target=${1:?usage: run_corpus.sh FUZZ_TARGET CORPUS_DIR}
corpus=${2:?usage: run_corpus.sh FUZZ_TARGET CORPUS_DIR}
shopt -s nullglob
inputs=("$corpus"/*)
[ ${#inputs[@]} -gt 0 ] || { echo "FAIL: no inputs in $corpus"; exit 1; }
if ! output=$("$target" "${inputs[@]}" 2>&1); then
  echo "$output"
  exit 1
fi
echo "${#inputs[@]} inputs of $corpus"
echo "$output" | grep -c "^Executed" | sed "s/$/ executed, no finding/"
