#!/usr/bin/env bash
# Kravix on a fresh Debian 12 machine.
#   ./kravix.sh play   install what is missing, build in release mode, start the game
#   ./kravix.sh test   install what is missing, build, run every test (g++ build, then a clang
#                      build under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzer)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build pkg-config g++ clang libclang-rt-14-dev libsdl2-dev libgtest-dev
          libbenchmark-dev
          desktop-file-utils appstream man-db dpkg-dev file pngcheck)  # the packaging checks
jobs=$(nproc 2>/dev/null || echo 2)

install_missing() {
  local missing=() package
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {  # folder, then extra CMake options
  local folder=$1
  shift
  cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
  cmake --build "$folder" -j "$jobs"
}

play() {
  install_missing
  build build -DCMAKE_BUILD_TYPE=Release
  exec ./build/kravix
}

run_tests() {
  install_missing
  build build -DCMAKE_BUILD_TYPE=Release
  ctest --test-dir build -j "$jobs" --output-on-failure
  build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DKRAVIX_SANITIZE=ON
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize -j "$jobs" --output-on-failure
  for fuzz_script in src/*/run_*_fuzzer.sh; do
    bash "$fuzz_script" 60
  done
  echo "All tests passed."
}

case "${1:-}" in
  play) play ;;
  test) run_tests ;;
  *) echo "usage: $0 play | test" >&2; exit 2 ;;
esac
