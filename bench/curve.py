#!/usr/bin/env python3
"""Runs the host's and the card's benchmarks at several catalog sizes and
draws time and memory against size (bench/curve.png), with the figures in a
table beside it (bench/curve.tsv).

Usage: bench/curve.py [--build build] [--catalogs /tmp/qv-bench] [--draw-only] [SIZE ...]
       (default sizes: 10000 100000 300000 1000000)

The catalogs are kept in --catalogs between runs: a million contacts take
about a minute and a half to make. Drawing needs gnuplot (Debian's
gnuplot-nox); without it the table is still written.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
SIZES = [10000, 100000, 300000, 1000000]
# The card without network latency: the curve is about the catalog's size.
FILTERS = {"bench_card": "BM_(Open|Next|SaveTab1)/latency_ms:0/"}

# What each curve shows: (program, benchmark name, counter or "time", label).
SERIES = [
    ("bench_host", "BM_HostStartUp", "time", "arranque até à lista (ms)"),
    ("bench_host", "BM_HostStartUp", "count_ms", "contagem da lista (ms)"),
    ("bench_host", "BM_SearchKeystroke/0", "time", "tecla na pesquisa: Maria (ms)"),
    ("bench_host", "BM_SearchKeystroke/2", "time", "tecla na pesquisa: 21593 (ms)"),
    ("bench_host", "BM_ScrollScreen", "time", "um ecrã mais (ms)"),
    ("bench_card", "BM_Open/latency_ms:0", "time", "abrir a ficha (ms)"),
    ("bench_card", "BM_Next/latency_ms:0", "time", "seguinte (ms)"),
    ("bench_card", "BM_SaveTab1/latency_ms:0", "time", "gravar o separador 1 (ms)"),
    ("bench_host", "BM_HostStartUp", "rss_MB", "memória do anfitrião (MB)"),
]


def run(program: Path, size: int, catalogs: str) -> dict:
    env = dict(os.environ, QV_BENCH_CONTACTS=str(size), QV_BENCH_CATALOGS=catalogs,
               QT_QPA_PLATFORM="offscreen")
    command = [str(program), "--benchmark_format=json"]
    if program.name in FILTERS:
        command.append("--benchmark_filter=" + FILTERS[program.name])
    out = subprocess.run(command, env=env, check=True, capture_output=True, text=True).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"].split("/repeats")[0].split("/iterations")[0]
        medians[name] = b
    return medians


def make(program: Path, size: int, catalogs: str):
    env = dict(os.environ, QV_BENCH_CONTACTS=str(size), QV_BENCH_CATALOGS=catalogs,
               QT_QPA_PLATFORM="offscreen")
    subprocess.run([str(program), "--benchmark_filter=^$"], env=env, capture_output=True)


def value(medians: dict, name: str, counter: str):
    b = medians.get(name)
    if b is None:
        return None
    return b["real_time"] if counter == "time" else b.get(counter)


def draw(table: Path, picture: Path, time_series: int):
    if not shutil.which("gnuplot"):
        print("gnuplot não está instalado (apt install gnuplot-nox): só a tabela foi escrita.")
        return
    time_plots = ", ".join(
        f"'{table}' using 1:{i + 2} with linespoints title '{SERIES[i][3]}'" for i in range(time_series))
    memory = len(SERIES) + 1
    script = f"""
set terminal pngcairo size 1100,700 font 'DejaVu Sans,10'
set output '{picture}'
set datafile separator '\\t'
set key top left
set logscale x
set xlabel 'contactos no catálogo'
set multiplot layout 1,2 title 'Contactos Quarvenses: tempo e memória contra o tamanho do catálogo'
set ylabel 'ms (mediana)'
set yrange [0:*]
plot {time_plots}
set ylabel 'MB'
set key bottom right
set yrange [0:*]
plot '{table}' using 1:{memory} with linespoints title '{SERIES[-1][3]}'
unset multiplot
"""
    subprocess.run(["gnuplot"], input=script, text=True, check=True)


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build"))
    parser.add_argument("--catalogs", default="/tmp/qv-bench")
    parser.add_argument("--draw-only", action="store_true", help="draws curve.tsv again, running nothing")
    parser.add_argument("sizes", nargs="*", type=int, default=SIZES)
    args = parser.parse_args()
    if args.draw_only:
        draw(HERE / "curve.tsv", HERE / "curve.png", len(SERIES) - 1)
        return 0
    Path(args.catalogs).mkdir(parents=True, exist_ok=True)
    programs = sorted({s[0] for s in SERIES})
    rows = []
    for size in args.sizes:
        # The catalogs are made first, by runs that measure nothing: making
        # one leaves its memory in the process that made it.
        for program in programs:
            make(Path(args.build) / "bin" / program, size, args.catalogs)
        medians = {}
        for program in programs:
            print(f"{program} com {size} contactos…", file=sys.stderr)
            medians.update(run(Path(args.build) / "bin" / program, size, args.catalogs))
        rows.append([size] + [value(medians, s[1], s[2]) for s in SERIES])
    table = HERE / "curve.tsv"
    with table.open("w", encoding="utf-8") as out:
        out.write("# contactos\t" + "\t".join(s[3] for s in SERIES) + "\n")
        for row in rows:
            out.write("\t".join("" if v is None else f"{v:.3f}" if isinstance(v, float) else str(v)
                                for v in row) + "\n")
    draw(table, HERE / "curve.png", len(SERIES) - 1)
    print(table.read_text(encoding="utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
