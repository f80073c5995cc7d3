# What the benchmark scripts share: the statistics of a figure's rounds, the table's cells and
# the processor time of Wine's server and of programs started for a figure. Sourced by
# bench/run (it defines no bench_ function, so it is not a benchmark).

# A ratio whose rounds lie further apart than this, relative to its median, is not trusted.
KORVA_BENCH_SPREAD=${KORVA_BENCH_SPREAD:-0.10}

# "median minimum maximum" of the numbers given as arguments; "-" as arguments are failed
# rounds and are left out. Nothing when no round succeeded.
figure_stats() {
    printf '%s\n' "$@" | awk '$1 ~ /^[0-9.]+$/ {print $1}' | sort -g | awk '
        { v[NR] = $1 }
        END {
            if (NR == 0) exit
            m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            print m, v[1], v[NR]
        }'
}

# How many of the arguments are numbers (rounds that succeeded).
count_rounds() {
    printf '%s\n' "$@" | awk '$1 ~ /^[0-9.]+$/ {n++} END {print n + 0}'
}

# Per-round ratios of two lists of the same rounds: "$1" and "$2" are space-separated lists,
# "-" for a failed round. Prints one ratio per round where both succeeded.
round_ratios() {
    awk -v a="$1" -v b="$2" 'BEGIN {
        n = split(a, x, " "); split(b, y, " ")
        for (i = 1; i <= n; i++)
            if (x[i] ~ /^[0-9.]+$/ && y[i] ~ /^[0-9.]+$/ && y[i] > 0) printf "%.4f\n", x[i] / y[i]
    }'
}

# The fastest of several contenders, round by round: "$@" are pairs of space-separated lists
# of the same rounds, each contender's wall times and then its processor times. Prints two
# lines: per round the fastest wall time, and the processor time of the contender that had it
# ("-" where none succeeded or the time is unknown).
round_fastest() {
    awk 'BEGIN {
        for (k = 1; k + 1 < ARGC; k += 2) {
            n = split(ARGV[k], wall, " "); split(ARGV[k + 1], cpu, " ")
            for (i = 1; i <= n; i++)
                if (wall[i] ~ /^[0-9.]+$/ && (!(i in best) || wall[i] + 0 < best[i])) {
                    best[i] = wall[i] + 0; its[i] = cpu[i]
                }
            if (n > rounds) rounds = n
        }
        for (i = 1; i <= rounds; i++) printf "%s ", (i in best) ? best[i] : "-"
        print ""
        for (i = 1; i <= rounds; i++) printf "%s ", (i in best && its[i] != "") ? its[i] : "-"
        print ""
        exit
    }' "$@"
}

# "median ms (min-max)" of a list of milliseconds, with the processor time's median when a list
# of it is given; "failed" when no round succeeded.
time_cell() {
    local times=$1 cpus=${2:-} stats cpu
    read -r -a stats <<<"$(figure_stats $times)"
    if [ ${#stats[@]} -eq 0 ]; then
        echo "failed"
        return
    fi
    printf '%.0f ms (%.0f-%.0f)' "${stats[0]}" "${stats[1]}" "${stats[2]}"
    read -r -a cpu <<<"$(figure_stats $cpus)"
    if [ ${#cpu[@]} -gt 0 ]; then
        printf ', cpu %.0f ms' "${cpu[0]}"
    fi
    echo
}

# "median MB/s (min-max), on cpu 0.99" of a list of rates and the list of the shares of their
# wall time that the program was on a processor.
rate_cell() {
    local stats share
    read -r -a stats <<<"$(figure_stats $1)"
    read -r -a share <<<"$(figure_stats $2)"
    if [ ${#stats[@]} -eq 0 ]; then
        echo "failed"
        return
    fi
    printf '%.1f MB/s (%.1f-%.1f)' "${stats[0]}" "${stats[1]}" "${stats[2]}"
    [ ${#share[@]} -gt 0 ] && printf ', on cpu %.2f' "${share[0]}"
    echo
}

# The ratio cell and the target cell of a figure from its per-round ratios ("$1", one per
# line), the target as a bound ("at most 1.1", "at least 1.2") or a text without one, the least
# number of rounds for a trusted figure and, where the rounds are known to be disturbed, why
# (the figure is then unreliable whatever its rounds say). Prints "ratio|target".
ratio_cells() {
    local ratios=$1 target=$2 least=${3:-5} disturbed=${4:-} stats
    read -r -a stats <<<"$(figure_stats $ratios)"
    if [ ${#stats[@]} -eq 0 ]; then
        echo "-|$target: failed"
        return
    fi
    local rounds
    rounds=$(count_rounds $ratios)
    local ratio
    ratio=$(printf '%.2f (%.2f-%.2f)' "${stats[0]}" "${stats[1]}" "${stats[2]}")
    local bound kind=''
    case "$target" in
        "at most "*) kind=most bound=${target#at most } ;;
        "at least "*) kind=least bound=${target#at least } ;;
    esac
    local verdict
    verdict=$(awk -v m="${stats[0]}" -v lo="${stats[1]}" -v hi="${stats[2]}" -v n="$rounds" \
        -v least="$least" -v spread="$KORVA_BENCH_SPREAD" -v kind="$kind" -v bound="${bound:-0}" \
        -v disturbed="$disturbed" '
        BEGIN {
            if (n < least) { printf "unreliable: %d rounds", n; exit }
            if (disturbed != "") { printf "unreliable: %s", disturbed; exit }
            if (m > 0 && (hi - lo) / m > spread) {
                printf "unreliable: rounds %.2f-%.2f, %.0f%% apart", lo, hi, (hi - lo) / m * 100
                exit
            }
            if (kind == "") exit
            if ((kind == "most" && m <= bound) || (kind == "least" && m >= bound)) print "met"
            else print "MISSED"
        }')
    if [ -z "$kind" ]; then
        echo "$ratio|$target${verdict:+ ($verdict)}"
    else
        echo "$ratio|$target: $verdict"
    fi
}

# Processor time of a Linux process and all its threads so far, in nanoseconds.
process_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%d\n", n}'
}

# The Linux process id of the wineserver of prefix $1 (found by its directory, which Wine
# names after the prefix's device and inode), or nothing.
server_pid() {
    local dir=$KORVA_PREFIXES/$1 id pid
    id=server-$(stat -c %D "$dir")-$(printf '%x' "$(stat -c %i "$dir")")
    for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
        if [[ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" == */"$id" ]]; then
            echo "$pid"
            return
        fi
    done
}

# A control group of the benchmark's own, so that the processor time of every program started
# for a figure is counted, those that ended included. Sets bench_group to its directory, or to
# nothing where control groups cannot be made (processor times of started programs are then
# not printed).
open_cpu_group() {
    bench_group=''
    local base group
    for base in /sys/fs/cgroup/cpuacct /sys/fs/cgroup/unified /sys/fs/cgroup; do
        group=$base/korva-bench-$$
        if { [ -f "$base/cpuacct.usage" ] || [ -f "$base/cgroup.procs" ]; } &&
            mkdir -p "$group" 2>/dev/null && echo "$BASHPID" >"$group/cgroup.procs" 2>/dev/null; then
            bench_group=$group
            bench_group_base=$base
            return
        fi
        rmdir "$group" 2>/dev/null || true
    done
}

close_cpu_group() {
    [ -n "$bench_group" ] || return 0
    echo "$BASHPID" >"$bench_group_base/cgroup.procs" 2>/dev/null || true
    rmdir "$bench_group" 2>/dev/null || true
    bench_group=''
}

# Processor time so far of everything in the benchmark's control group, in nanoseconds.
group_ns() {
    if [ -f "$bench_group/cpuacct.usage" ]; then
        cat "$bench_group/cpuacct.usage"
    elif [ -f "$bench_group/cpu.stat" ]; then
        awk '$1 == "usage_usec" {printf "%d\n", $2 * 1000}' "$bench_group/cpu.stat"
    else
        echo 0
    fi
}

# 1-minute load average, as /proc/loadavg gives it.
load_average() {
    cut -d' ' -f1 /proc/loadavg
}
