#!/usr/bin/python3
"""Summarises and draws what velvetglide_demo.exe recorded.

Usage: /usr/bin/python3 tools/plot-glide.py GLIDE.csv OUT.png

Prints one table row per train of notches and one sentence, and draws the PNG
with matplotlib (Debian's python3-matplotlib: run it with Debian's own Python).
Exit code 3 when what arrived contradicts what the program promises (the
picture is drawn all the same); any other non-zero code is a failure.
"""

import csv
import sys
from collections import OrderedDict

PAUSE_MS = 40  # a longer gap while notches overlap would show as a stop (the e2e tests' bound)
PROBLEMS_EXIT = 3
MARK_DOWN = -1  # the demo scrolls down: delta -120 per notch; shown as positive units


def load(path):
    settings, trains = {}, OrderedDict()
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            kind = row["kind"]
            if kind == "setting":
                settings[row["train"]] = float(row["units"])
                continue
            t = trains.setdefault(row["train"], {"sent": [], "received": [], "model": []})
            value = float(row["units"]) * MARK_DOWN
            if kind == "received":
                t["received"].append((float(row["time_ms"]), value, row["marked"] == "1"))
            else:
                t[kind].append((float(row["time_ms"]), value))
    return settings, trains


def summarise(name, t, duration_ms):
    events = t["received"]
    sizes = [abs(u) for _, u, _ in events]
    # Gaps while the notches' glides overlap: a pause there would mean two glides, not one.
    sent = [ms for ms, _ in t["sent"]]
    overlap_end = (sent[-1] if sent else 0) + duration_ms / 2
    inside = [ms for ms, _, _ in events if ms <= overlap_end]
    gaps = [b - a for a, b in zip(inside, inside[1:])]
    return {
        "name": name,
        "notches": len(t["sent"]),
        "sent_over": t["sent"][-1][0] if t["sent"] else 0.0,
        "events": len(events),
        "units": round(sum(u for _, u, _ in events)),
        "expected": round(t["model"][-1][1]) if t["model"] else 0,
        "plain_sum": round(sum(u for _, u in t["sent"])),
        "duration": events[-1][0] if events else 0.0,  # from the first notch sent
        "first": events[0][0] if events else 0.0,
        "largest": max(sizes) if sizes else 0,
        "smallest": min(sizes) if sizes else 0,
        "marked": sum(1 for e in events if e[2]),
        "max_gap": max(gaps) if gaps else 0.0,
    }


def note_for(s):
    if s["notches"] == 1:
        return "no jump: events of %d to %d units" % (s["smallest"], s["largest"])
    if s["expected"] > s["plain_sum"]:
        return "accelerated x%.2f (%d were sent)" % (s["units"] / s["plain_sum"], s["plain_sum"])
    if s["max_gap"] < PAUSE_MS:
        return "one glide, no pause (gaps <= %.0f ms)" % s["max_gap"]
    return "a %.0f ms pause between the notches (busy machine?)" % s["max_gap"]


def print_table(rows):
    head = ["train", "notches", "events", "units", "expected", "duration", "marked", "note"]
    cells = [
        [
            s["name"],
            "%d" % s["notches"] + ("" if s["notches"] == 1 else " in %.0f ms" % s["sent_over"]),
            "%d" % s["events"],
            "%d" % s["units"],
            "%d" % s["expected"],
            "%.0f ms" % s["duration"],
            "%d/%d" % (s["marked"], s["events"]),
            note_for(s),
        ]
        for s in rows
    ]
    widths = [max(len(r[i]) for r in [head] + cells) for i in range(len(head))]
    right = {1, 2, 3, 4, 5, 6}

    def line(r):
        return "  ".join(c.rjust(w) if i in right else c.ljust(w) for i, (c, w) in enumerate(zip(r, widths))).rstrip()

    print(line(head))
    print(line(["-" * w for w in widths]))
    for r in cells:
        print(line(r))


# ---- picture ---------------------------------------------------------------

BLUE, ORANGE, GREY, RED, INK, JUMP = "#1f5fbf", "#f8c471", "#8a8a8a", "#c0392b", "#222222", "#d98880"
TITLES = {"one notch": "One notch", "blended pair": "Two notches 100 ms apart", "fast burst": "Six notches 50 ms apart"}


def steps(points, x_max):
    """Cumulative units as a staircase: (x, y) lists for a "post" step plot from 0 to x_max."""
    xs, ys, total = [0.0], [0.0], 0.0
    for ms, units in points:
        total += units
        xs.append(ms)
        ys.append(total)
    xs.append(x_max)
    ys.append(total)
    return xs, ys


def draw_panel(top, bottom, title, t, s, x_max):
    top.set_axisbelow(True)  # the grid under everything else
    # Without smoothing the application would jump a whole notch at each send.
    top.step(*steps(t["sent"], x_max), where="post", color=JUMP, linewidth=1.5, zorder=2)
    # The engine's curve for these send times, as a band under the received steps.
    model = [(ms, u) for ms, u in t["model"] if ms <= x_max]
    top.plot([ms for ms, _ in model], [u for _, u in model], color=ORANGE, linewidth=6,
             solid_capstyle="round", zorder=2.5)
    top.step(*steps([(ms, u) for ms, u, _ in t["received"]], x_max), where="post", color=BLUE, linewidth=2,
             zorder=3)
    for ms, _ in t["sent"]:
        top.axvline(ms, color=RED, linewidth=1, linestyle=(0, (2, 3)), zorder=1)
        top.plot([ms], [1.0], marker="v", markersize=9, color=RED, transform=top.get_xaxis_transform(),
                 clip_on=False, zorder=4)
    top.axhline(s["expected"], color=GREY, linewidth=1.5, linestyle=(0, (7, 5)), zorder=1)
    top.annotate("expected total %d" % s["expected"], (1.0, s["expected"]), xycoords=("axes fraction", "data"),
                 xytext=(-4, 5), textcoords="offset points", ha="right", color=GREY, fontsize=10)
    top.set_ylim(0, max(s["expected"], s["units"]) * 1.12)
    top.set_title("%s\n%d events, %d units, %.0f ms" % (title, s["events"], s["units"], s["duration"]),
                  fontsize=11, color=INK, pad=14)
    top.set_ylabel("units", fontsize=9, color="#555555")
    top.grid(color="#e6e6e6", linewidth=1)

    sizes = [abs(u) for _, u, _ in t["received"]]
    bottom.vlines([ms for ms, _, _ in t["received"]], 0, sizes, linewidth=2,
                  colors=[BLUE if marked else RED for _, _, marked in t["received"]])
    bottom.set_ylim(0, max(10, 10 * ((s["largest"] + 9) // 10)))
    bottom.set_ylabel("size of\neach event", fontsize=9, color="#555555")
    bottom.set_axisbelow(True)
    bottom.grid(axis="x", color="#eeeeee", linewidth=1)
    bottom.set_xlim(0, x_max)
    for ax in (top, bottom):
        ax.tick_params(labelsize=9, colors="#555555")


def write_png(path, settings, trains, rows):
    import matplotlib
    matplotlib.use("Agg")  # no display, no GUI toolkit: straight to PNG
    import matplotlib.pyplot as plt
    from matplotlib.lines import Line2D

    duration = settings.get("DurationMs", 280)
    x_max = 100 * (int(max(s["duration"] for s in rows) / 100) + 2)
    fig, axes = plt.subplots(2, len(trains), figsize=(15, 6.6), dpi=100, sharex=True, squeeze=False,
                             gridspec_kw={"height_ratios": [4, 1], "hspace": 0.12, "wspace": 0.22})
    fig.suptitle("Velvetglide: every wheel notch re-emitted as a glide of small marked events",
                 fontsize=16, fontweight="bold", color=INK, y=0.985)
    fig.text(0.5, 0.925, "as received by a window under Wine; DurationMs=%d, Smoothing=%g, acceleration %s"
             % (duration, settings.get("Smoothing", 3),
                "up to x%g" % settings.get("AccelStrength", 2) if settings.get("AccelEnabled", 1) else "off"),
             ha="center", fontsize=11, color="#444444")
    for i, (name, t) in enumerate(trains.items()):
        draw_panel(axes[0][i], axes[1][i], TITLES.get(name, name), t, rows[i], x_max)
        axes[1][i].set_xlabel("ms since the first notch was sent", fontsize=10, color="#444444")
    legend = [
        Line2D([], [], color=BLUE, linewidth=2, label="units received so far (a step per event)"),
        Line2D([], [], color=ORANGE, linewidth=6,
               label="engine curve: 120\u00b7Ease(t/%d, %g, 0) per notch, blended" % (duration, settings.get("Smoothing", 3))),
        Line2D([], [], color=JUMP, linewidth=1.5, label="without smoothing: a jump per notch"),
        Line2D([], [], color=RED, marker="v", markersize=9, linestyle="none", label="notch sent"),
        Line2D([], [], color=GREY, linewidth=1.5, linestyle=(0, (7, 5)), label="expected total"),
    ]
    fig.legend(handles=legend, loc="lower center", ncol=len(legend), frameon=False, fontsize=10)
    fig.subplots_adjust(left=0.05, right=0.99, top=0.82, bottom=0.16)
    fig.savefig(path, facecolor="white")
    plt.close(fig)


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        import matplotlib  # noqa: F401  (checked first: the table is no use without the picture)
    except ImportError:
        print("plot-glide: matplotlib is missing: run tools/setup (python3-matplotlib) and this script "
              "with /usr/bin/python3", file=sys.stderr)
        return 2
    settings, trains = load(sys.argv[1])
    if not trains:
        print("plot-glide: no trains in %s" % sys.argv[1], file=sys.stderr)
        return 2
    rows = [summarise(name, t, settings.get("DurationMs", 280)) for name, t in trains.items()]
    print_table(rows)
    print()
    one, pair, burst = rows[0], rows[1 % len(rows)], rows[-1]
    sentence = "Each notch of 120 units arrived as %d small %sevents over ~%.0f ms instead of one jump" % (
        one["events"], "marked " if one["marked"] == one["events"] else "", one["duration"])
    if pair["notches"] > 1 and pair["max_gap"] < PAUSE_MS:
        sentence += "; quick notches blended into one glide"
    if burst["units"] > burst["plain_sum"]:
        sentence += "%s the fast burst was accelerated to %d units" % (
            " and" if sentence.endswith("glide") else ";", burst["units"])
    print(sentence + ".")

    problems = []
    for s in rows:
        if s["marked"] != s["events"]:
            problems.append("%s: %d events without Velvetglide's marker" % (s["name"], s["events"] - s["marked"]))
        if abs(s["units"] - s["expected"]) > max(2, 0.02 * s["expected"]):
            problems.append("%s: %d units arrived, the engine's arithmetic says %d" % (s["name"], s["units"], s["expected"]))
        if s["events"] < 10:
            problems.append("%s: only %d events, not a glide" % (s["name"], s["events"]))
    for p in problems:
        print("PROBLEM: " + p)
    write_png(sys.argv[2], settings, trains, rows)
    return PROBLEMS_EXIT if problems else 0


if __name__ == "__main__":
    sys.exit(main())
