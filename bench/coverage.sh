#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Of the COUNT most frequent WordNet words (summed tag counts of their senses in
# cntlist.rev) that the FreeDict dictionary has, how many the terminal lookup finds with a
# definition in the data set of PROGRAM_FOLDER: the headword shown must be the word itself
# and the definition must not be empty. Prints the figure and the words it misses.
#
#   bench/coverage.sh [PROGRAM_FOLDER (build/bin)] [COUNT (5000)]
#
# Environment: LOOKUP (build/bin/vellumstack-lookup), WORDNET (/usr/share/wordnet),
# DICT_INDEX (/usr/share/dictd/freedict-eng-ara.index).
set -eu
folder=${1:-build/bin}
count=${2:-5000}
lookup=${LOOKUP:-build/bin/vellumstack-lookup}
wordnet=${WORDNET:-/usr/share/wordnet}
index=${DICT_INDEX:-/usr/share/dictd/freedict-eng-ara.index}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# FreeDict's headwords as WordNet files its lemmas: lower case, blanks as '_'.
cut -f1 "$index" | tr 'A-Z ' 'a-z_' | sort -u >"$work/freedict"
# WordNet's lemmas by summed tag count, the most frequent first; only those with a letter
# initial can stand in a letter list.
awk '{ split($1, key, "%"); sum[tolower(key[1])] += $3 }
     END { for (w in sum) if (w ~ /^[a-z]/ && sum[w] > 0) print sum[w] "\t" w }' \
    "$wordnet/cntlist.rev" | sort -t "$(printf '\t')" -k1,1nr -k2,2 >"$work/ranked"
awk -F '\t' 'NR == FNR { have[$1] = 1; next } ($2 in have) { print $2 }' \
    "$work/freedict" "$work/ranked" | head -n "$count" >"$work/words"

found=0
total=0
: >"$work/missed"
while IFS= read -r lemma; do
    word=$(printf '%s' "$lemma" | tr '_' ' ')
    total=$((total + 1))
    json=$("$lookup" --data "$folder" --json "$word" 2>/dev/null || true)
    # The headword the caption names, as the lookup reads it off.
    headword=$(printf '%s' "$json" | sed -n 's/.*"headword": *"\([^"\\]*\)".*/\1/p' |
        tr 'A-Z' 'a-z')
    if [ "$headword" = "$word" ] && printf '%s' "$json" | grep -q '"definition": *"[^"]'; then
        found=$((found + 1))
    else
        printf '%s\n' "$word" >>"$work/missed"
    fi
done <"$work/words"

echo "found with a definition: $found of the $total most frequent WordNet words FreeDict has"
if [ -s "$work/missed" ]; then
    echo "missed ($(wc -l <"$work/missed")), the most frequent first:"
    head -n 50 "$work/missed" | sed 's/^/  /'
fi
