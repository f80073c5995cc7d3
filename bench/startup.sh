# Start-up of install.exe from the sample CD to its main menu (NT prefix), against the
# project's smallest dialog program. Sourced by bench/run.
bench_startup() {
    KORVA_PREFIX=nt "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/startup_bench.exe"
}
