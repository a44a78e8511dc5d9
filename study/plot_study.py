#!/usr/bin/env python3
"""Draws what a Kestrune result means from the study's summary.csv:
reported cents against the model listener's true threshold, log-log.

    plot_study.py build/study/summary.csv docs/study/reported-vs-true.png
"""
import csv
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib.ticker import FixedLocator, NullFormatter, NullLocator  # noqa: E402

CEILING_CENTS = 0.5  # score 300
FLOOR_CENTS = 90.0  # score 0
TICKS = [0.5, 1, 2, 5, 10, 20, 50, 100]


def read_summary(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f))


def model_rows(rows, test):
    picked = [r for r in rows if r["group"] == "model" and r["test"] == str(test)]
    picked.sort(key=lambda r: float(r["true_cents"]))
    return picked


def column(rows, name):
    return [float(r[name]) for r in rows]


def reference_median(rows, group):
    for r in rows:
        if r["group"] == group and r["test"] == "1":
            return float(r["median_cents"])
    raise SystemExit(f"summary has no first test of the {group} listener")


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: plot_study.py summary.csv out.png")
    rows = read_summary(sys.argv[1])
    first = model_rows(rows, 1)
    second = model_rows(rows, 2)
    if not first or not second:
        raise SystemExit("summary has no model listeners")
    truth = column(first, "true_cents")
    listeners = int(first[0]["tests"])
    guessing = reference_median(rows, "guessing")

    # 800 px wide: the README's width, so nothing is scaled down.
    fig, ax = plt.subplots(figsize=(8, 5.6), dpi=100)
    ax.fill_between(truth, column(first, "p10_cents"), column(first, "p90_cents"),
                    color="tab:blue", alpha=0.22, linewidth=0,
                    label="first test: 10–90 % of listeners")
    ax.plot(truth, column(first, "median_cents"), color="tab:blue", marker="o",
            markersize=4, linewidth=2, label="first test: median")
    ax.plot(column(second, "true_cents"), column(second, "median_cents"),
            color="tab:orange", linestyle="--", linewidth=1.6,
            label="second test in the same run: median")
    ax.plot([0.4, 120], [0.4, 120], color="0.35", linestyle=":", linewidth=1.4,
            label="reported = true")
    ax.axhline(guessing, color="tab:red", linestyle="-.", linewidth=1.6,
               label=f"guessing listener: median {guessing:.3g} cents")
    ax.axhline(CEILING_CENTS, color="0.6", linewidth=0.8)
    ax.axhline(FLOOR_CENTS, color="0.6", linewidth=0.8)
    ax.text(0.43, FLOOR_CENTS * 0.93, "floor: 90 cents (score 0)", ha="left", va="top",
            fontsize=9, color="0.3")
    ax.text(115, CEILING_CENTS * 1.06, "ceiling: 0.5 cents (score 300)", ha="right",
            va="bottom", fontsize=9, color="0.3")

    ax.set_xscale("log")
    ax.set_yscale("log")
    ax.set_xlim(0.4, 120)
    ax.set_ylim(0.4, 120)
    for axis in (ax.xaxis, ax.yaxis):
        axis.set_major_locator(FixedLocator(TICKS))
        axis.set_major_formatter(matplotlib.ticker.FuncFormatter(lambda v, _: f"{v:g}"))
        axis.set_minor_locator(NullLocator())
        axis.set_minor_formatter(NullFormatter())
    ax.set_xlabel("True threshold T of the model listener (cents)", fontsize=11)
    ax.set_ylabel("Discrimination Kestrune reports (cents)", fontsize=11)
    ax.set_title(f"What one Kestrune test reports: {listeners:,} model listeners per T",
                 fontsize=12)
    ax.grid(True, which="major", color="0.9", linewidth=0.8)
    ax.legend(loc="lower right", bbox_to_anchor=(1.0, 0.08), fontsize=9.5, framealpha=0.95)
    fig.tight_layout()
    # No version or date in the file: the same figures give the same bytes.
    fig.savefig(sys.argv[2], metadata={"Software": None})


if __name__ == "__main__":
    main()
