#!/usr/bin/env bash
# vantrel-list --save against what a user's files may be: a file read
# inexactly, an unrelated file, a read-only file, a pipe, a name that is
# not UTF-8, and a save killed at random moments.
# Usage: list_save_test.sh LIST WORK [KILLS]
set -u
LIST=$1
WORK=$2
KILLS=${3:-100}
rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
NOW=(--now "2026-12-09 09:00")

# 1. A 600-byte title cannot be kept whole: saving the file onto itself
# keeps the original beside it and says so; exit 0.
title=$(head -c 600 /dev/zero | tr '\0' 'x')
printf '2026/12/01,,%s,,,\r\n' "$title" > long.vrl
cp long.vrl long.before
"$LIST" "${NOW[@]}" --save long.vrl long.vrl > /dev/null 2> long.err
rc=$?
[ $rc -eq 0 ] || fail "inexact self-save exit $rc"
cmp -s long.before long.vrl.orig-20261209-0900 || fail "inexact self-save kept no original"
grep -q "long.vrl.orig-20261209-0900" long.err || fail "inexact self-save said nothing: $(cat long.err)"

# 2. An unrelated existing OUT is kept before it is replaced.
printf '2026/12/02,,a,,,\r\n' > in.vrl
printf 'my own notes\n' > notes.txt
"$LIST" "${NOW[@]}" --save notes.txt in.vrl > /dev/null 2> notes.err || fail "save over notes failed"
[ "$(cat notes.txt.orig-20261209-0900)" = "my own notes" ] || fail "notes were not kept"
grep -q "notes.txt.orig-20261209-0900" notes.err || fail "save over notes said nothing"

# Saving the same list again onto it keeps no second copy: it holds the list.
"$LIST" "${NOW[@]}" --save notes.txt in.vrl > /dev/null 2>&1 || fail "second save over notes failed"
[ "$(ls | grep -c '^notes.txt.orig')" -eq 1 ] || fail "a second copy was kept: $(ls)"

# A Morvik name is never written.
"$LIST" "${NOW[@]}" --save out.mvk in.vrl > /dev/null 2>&1
[ $? -eq 2 ] || fail "a .mvk save target was taken"
[ -e out.mvk ] && fail "a .mvk file was written"

# A file that is refused is not said to be kept either.
printf 'not mine\n' > ro2.vrl
chmod 0444 ro2.vrl
"$LIST" "${NOW[@]}" --save ro2.vrl in.vrl > /dev/null 2>&1 && fail "read-only unrelated save succeeded"
ls ro2.vrl.orig-* > /dev/null 2>&1 && fail "a copy of a file that was not replaced was kept"
chmod 0644 ro2.vrl

# 3. A read-only file is refused like any failed save and stays as it is.
printf '2026/12/03,,ro,,,\r\n' > ro.vrl
cp ro.vrl ro.before
chmod 0444 ro.vrl
"$LIST" "${NOW[@]}" --save ro.vrl in.vrl > /dev/null 2> ro.err
rc=$?
[ $rc -eq 1 ] || fail "read-only save exit $rc"
grep -q "Can't create ro.vrl .(13)" ro.err || fail "read-only save said: $(cat ro.err)"
cmp -s ro.before ro.vrl || fail "read-only file changed"
chmod 0644 ro.vrl

# 4. A pipe is refused at once, not waited on.
mkfifo pipe.vrl
timeout 10 "$LIST" "${NOW[@]}" pipe.vrl > /dev/null 2> pipe.err
rc=$?
[ $rc -eq 1 ] || fail "pipe exit $rc"

# 5. A name that is not UTF-8 is read and written as the same bytes.
name=$(printf 'caf\xe9.vrl')
printf '2026/12/04,,latin,,,\r\n' > "$name"
out=$("$LIST" "${NOW[@]}" --filter 0 --save "$name" "$name" 2>&1) || fail "latin-1 name: $out"
case "$out" in *latin*) ;; *) fail "latin-1 name not listed: $out" ;; esac
[ "$(ls | grep -c 'caf')" -eq 1 ] || fail "latin-1 save wrote another name: $(ls)"

# 6. Killed at random moments during saves of a 5 MB file: the file is
# always the old or the new content, and the next start leaves no
# temporary behind.
python3 - <<'PY'
import random
random.seed(7)
lines = [f"2026/{random.randint(1,12):02d}/{random.randint(1,28):02d},,entry {i} "
         + "x" * 60 + ",,,\r\n" for i in range(65000)]
open("big.old", "wb").write("".join(lines).encode())
PY
cp big.old big.vrl
"$LIST" "${NOW[@]}" --save big.vrl big.vrl > /dev/null 2>&1 || fail "first big save"
cp big.vrl big.new
cmp -s big.old big.new && fail "the big save changed nothing"
for i in $(seq 1 "$KILLS"); do
  cp big.old big.vrl
  "$LIST" "${NOW[@]}" --save big.vrl big.vrl > /dev/null 2>&1 &
  pid=$!
  sleep "0.$(printf '%03d' $((RANDOM % 400)))"
  kill -9 $pid 2> /dev/null
  wait $pid 2> /dev/null
  if ! cmp -s big.vrl big.old && ! cmp -s big.vrl big.new; then
    fail "kill $i: the file is neither the old nor the new content"
  fi
done
rm -f big.vrl.orig-*
sleep 0.1
"$LIST" "${NOW[@]}" big.vrl > /dev/null 2>&1
left=$(ls -A | grep -c '^\.~vrl' || true)
[ "$left" -eq 0 ] || fail "temporaries left after the next start: $(ls -A | grep '^\.~vrl')"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all save checks passed"
