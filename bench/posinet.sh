# posinet's tick seen by a client: period and jitter of the 300 ms cycle over 100 cycles, and
# posinet's processor time per cycle with 20 clients against 1. Sourced by bench/run.
bench_posinet() {
    KORVA_PREFIX=nt "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/posinet_bench.exe"
}
