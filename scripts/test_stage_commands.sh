# The stages of scripts/test.sh, as functions: each builds its folder and runs its tests through
# run_ctest (scripts/test_stages.sh). Needs root (the source folder) and jobs (the cores to use).

main_stage() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_WERROR=ON &&
    cmake --build build --parallel "$jobs" &&
    run_ctest build main --output-on-failure --parallel "$jobs" --timeout 300
}

# Everything a build without the desktop toolkit has: base, http, the platform stand-ins, the
# launcher's text routines, the tools. With the toolkit off none of it needs a display.
asan_stage() {
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_WERROR=ON \
    -DPELMORIX_BUILD_GUI=OFF -DPELMORIX_SANITIZE=ON >/dev/null &&
    cmake --build build-asan --parallel "$jobs" --target pelmorix_tests &&
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:$(suppressions asan)" \
      LSAN_OPTIONS="$(suppressions lsan)" UBSAN_OPTIONS="print_stacktrace=1:$(suppressions ubsan)" \
      run_ctest build-asan asan --output-on-failure --parallel "$jobs" --timeout 600
}

# The tests whose code runs on more than one thread: the connection with its connect worker,
# the socket handle and stack, the socket layer's shared start-up, and the socket library.
tsan_tests='^(TcpConnectionTest|SocketHandleTest|SocketStackTest|SocketLayer|WinSockLibraryTest)\.'
tsan_stage() {
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_WERROR=ON \
    -DPELMORIX_BUILD_GUI=OFF -DPELMORIX_TSAN=ON >/dev/null &&
    cmake --build build-tsan --parallel "$jobs" --target http_tests ws2_32_tests &&
    TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:$(suppressions tsan)" \
      run_ctest build-tsan tsan --output-on-failure --parallel "$jobs" --timeout 600 \
      -R "$tsan_tests"
}

# The Windows build (mingw-w64, build-windows/) and every test of it under wine, in the build
# folder's own prefix. One wineserver is kept for the whole run (CTest hangs at its first test
# without one) and ended afterwards. A program that starts one of wine's own processes (the
# system services, the desktop process) hands it its output, which CTest then waits on: a test
# would seem to run until that process ends. So desktop_keeper.exe, with its output on
# /dev/null, starts them all before the tests and keeps the desktop in use until the run ends
# (the desktop process ends a second after its last program otherwise, and the next test to
# open a window would start it again). The window toolkit's tests need a display: the stage
# starts an X server of its own (Xvfb picks a free display number) before the first wine
# program, so wine's processes and every test share it, and ends it afterwards.
# start_desktop_keeper PREFIX: starts desktop_keeper.exe in the background and waits (up to
# 60 s) for it to report the desktop.
start_desktop_keeper() {
  local ready
  ready=$(mktemp -u)
  sh cmake/wine-run.sh "$1" build-windows/tests/desktop_keeper.exe "Z:$ready" \
    </dev/null >/dev/null 2>&1 &
  for _ in $(seq 600); do
    [ -s "$ready" ] && rm -f "$ready" && return 0
    sleep 0.1
  done
  echo "desktop_keeper.exe did not report wine's desktop within 60 s" >&2
  return 1
}

windows_stage() {
  local prefix="$root/build-windows/wine-prefix" status display_file xvfb
  cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORIX_WERROR=ON >/dev/null &&
    cmake --build build-windows --parallel "$jobs" &&
    sh cmake/wine-prefix.sh "$prefix" || return 1
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  local -x DISPLAY=":$(head -n 1 "$display_file")"
  rm -f "$display_file"
  WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1
  if start_desktop_keeper "$prefix"; then
    run_ctest build-windows windows --output-on-failure --parallel "$jobs" --timeout 300
    status=$?
  else
    status=1
  fi
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  return "$status"
}

fuzz_stage() {
  local log status
  log=$(mktemp)
  bash scripts/fuzz.sh 10 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  count_fuzz_targets "$log"
  rm -f "$log"
  return "$status"
}
