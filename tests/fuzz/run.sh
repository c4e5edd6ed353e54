#!/usr/bin/env bash
# Builds the skin-parser fuzz target with clang and libFuzzer (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it over the seed corpus for a bounded number of
# inputs. Exits non-zero when the fuzzer finds a crash, a hang or a sanitizer report; the
# input that did it is left in the build folder as crash-*, timeout-* or oom-*.
#
#   FUZZ_RUNS       inputs to try (default 200000)
#   FUZZ_SECONDS    time limit in seconds (default 60)
#   FUZZ_BUILD_DIR  where the target is built (default build/fuzz)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
runs=${FUZZ_RUNS:-200000}
seconds=${FUZZ_SECONDS:-60}

mkdir -p "$build"
clang++ -std=c++20 -g -O1 -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" \
  "$here/SkinFileFuzz.cpp" "$root/src/ui/SkinFile.cpp" "$root/src/ui/TextDecoding.cpp" \
  -o "$build/skin_file_fuzz"

# Inputs the fuzzer finds go to a scratch folder, so the seed corpus stays as checked in.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "fuzzing the skin parser: up to $runs inputs or $seconds s"
"$build/skin_file_fuzz" \
  -runs="$runs" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/skin.dict" -artifact_prefix="$build/" -print_final_stats=1 \
  "$scratch" "$here/corpus" "$root/skins"
