#!/usr/bin/env python3
"""Summarises and draws what velvetglide_demo.exe recorded.

Usage: tools/plot-glide.py GLIDE.csv OUT.svg

Prints one table row per train of notches and one sentence, and writes an SVG
(turned into a PNG by tools/run-demo with ImageMagick). Standard library only:
the machine has no matplotlib. The SVG keeps to what ImageMagick's built-in
renderer draws correctly (no rotated text, text always with stroke="none").
Exit code 1 when what arrived contradicts what the program promises.
"""

import csv
import sys
from collections import OrderedDict
from xml.sax.saxutils import escape

PAUSE_MS = 40  # a longer gap while notches overlap would show as a stop (the e2e tests' bound)
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


# ---- SVG ------------------------------------------------------------------

W, H = 1500, 640
BLUE, ORANGE, GREY, RED, INK, JUMP = "#1f5fbf", "#f8c471", "#8a8a8a", "#c0392b", "#222222", "#d98880"
FONT = 'font-family="DejaVu Sans" stroke="none"'  # ImageMagick strokes text unless told not to


def text(x, y, s, size=13, anchor="start", color=INK, weight="normal"):
    return '<text x="%.1f" y="%.1f" %s font-size="%d" font-weight="%s" text-anchor="%s" fill="%s">%s</text>' % (
        x, y, FONT, size, weight, anchor, color, escape(s))


def path(points, style):
    """An open line through "x,y x,y ...". Round joins: ImageMagick's miter joins on many
    tiny segments of a thick line draw a spurious line back to the start."""
    return '<path d="M %s" fill="none" stroke-linejoin="round" stroke-linecap="round" %s/>' % (
        " L ".join(points.split()), style)


def nice_top(v):
    for step in (20, 40, 60, 100, 200, 250, 500, 1000):
        if v / step <= 8:
            return step * (int(v / step) + 1), step
    return v, v


def panel(x0, title, t, s, duration_ms, x_max):
    out = []
    top, bottom = 130, 440          # cumulative units
    bar_top, bar_bottom = 490, 560  # size of each event
    left, right = x0 + 55, x0 + 455

    target = s["expected"]
    y_max, y_step = nice_top(max(target, s["units"]) * 1.08)
    bar_max = max(10, 10 * ((s["largest"] + 9) // 10))

    def px(ms):
        return left + (right - left) * ms / x_max

    def py(u):
        return bottom - (bottom - top) * u / y_max

    def pb(u):
        return bar_bottom - (bar_bottom - bar_top) * u / bar_max

    out.append(text((left + right) / 2, 96, title, 15, "middle", weight="bold"))
    out.append(text((left + right) / 2, 116, "%d events, %d units, %.0f ms" % (s["events"], s["units"], s["duration"]),
                    13, "middle", "#444444"))
    # Grid and axes.
    for u in range(0, int(y_max) + 1, y_step):
        out.append('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#e6e6e6" stroke-width="1"/>' % (left, py(u), right, py(u)))
        out.append(text(left - 6, py(u) + 4, "%d" % u, 11, "end", "#555555"))
    for ms in range(0, int(x_max) + 1, 100):
        for yb, ya in ((bottom, top), (bar_bottom, bar_top)):
            out.append('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#eeeeee" stroke-width="1"/>' % (px(ms), ya, px(ms), yb))
        out.append(text(px(ms), bar_bottom + 16, "%d" % ms, 11, "middle", "#555555"))
    out.append('<rect x="%.1f" y="%d" width="%.1f" height="%d" fill="none" stroke="#999999" stroke-width="1"/>' % (left, top, right - left, bottom - top))
    out.append('<rect x="%.1f" y="%d" width="%.1f" height="%d" fill="none" stroke="#999999" stroke-width="1"/>' % (left, bar_top, right - left, bar_bottom - bar_top))
    out.append(text(left - 6, top - 8, "units", 11, "end", "#555555"))
    out.append(text(left, bar_top - 6, "size of each event (units)", 11, "start", "#555555"))
    out.append(text(left - 6, pb(bar_max) + 4, "%d" % bar_max, 11, "end", "#555555"))
    out.append(text(left - 6, bar_bottom + 4, "0", 11, "end", "#555555"))

    # The notches as sent.
    for ms, _ in t["sent"]:
        out.append('<line x1="%.1f" y1="%d" x2="%.1f" y2="%d" stroke="%s" stroke-width="1" stroke-dasharray="2,3"/>' % (px(ms), top, px(ms), bottom, RED))
        out.append('<polygon points="%.1f,%d %.1f,%d %.1f,%d" fill="%s"/>' % (px(ms) - 5, top - 1, px(ms) + 5, top - 1, px(ms), top + 8, RED))
    # Where the train must end.
    out.append('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="%s" stroke-width="1.5" stroke-dasharray="7,5"/>' % (left, py(target), right, py(target), GREY))
    out.append(text(right - 4, py(target) - 6, "expected total %d" % target, 12, "end", GREY))
    # Without smoothing: the application would jump a whole notch at each send.
    pts, total = ["%.1f,%.1f" % (px(0), py(0))], 0.0
    for ms, u in t["sent"]:
        pts.append("%.1f,%.1f" % (px(ms), py(total)))
        total += u
        pts.append("%.1f,%.1f" % (px(ms), py(total)))
    pts.append("%.1f,%.1f" % (px(x_max), py(total)))
    out.append(path(" ".join(pts), 'stroke="%s" stroke-width="1.5"' % JUMP))
    # The engine's curve for these send times, as a band under the received steps.
    pts = " ".join("%.1f,%.1f" % (px(ms), py(u)) for ms, u in t["model"] if ms <= x_max)
    out.append(path(pts, 'stroke="%s" stroke-width="6"' % ORANGE))
    # What arrived: a step per event.
    pts, total = ["%.1f,%.1f" % (px(0), py(0))], 0.0
    for ms, u, _ in t["received"]:
        pts.append("%.1f,%.1f" % (px(ms), py(total)))
        total += u
        pts.append("%.1f,%.1f" % (px(ms), py(total)))
    pts.append("%.1f,%.1f" % (px(x_max), py(total)))
    out.append(path(" ".join(pts), 'stroke="%s" stroke-width="2"' % BLUE))
    for ms, u, marked in t["received"]:
        color = BLUE if marked else RED
        out.append('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="%s" stroke-width="2"/>' % (px(ms), bar_bottom, px(ms), pb(abs(u)), color))
    return out


def write_svg(path, settings, trains, rows):
    duration = settings.get("DurationMs", 280)
    x_max = 100 * (int(max(s["duration"] for s in rows) / 100) + 2)
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (W, H, W, H),
           '<rect x="0" y="0" width="%d" height="%d" fill="white"/>' % (W, H)]
    out.append(text(W / 2, 34, "Velvetglide: every wheel notch re-emitted as a glide of small marked events", 20, "middle", weight="bold"))
    out.append(text(W / 2, 60, "as received by a window under Wine; DurationMs=%d, Smoothing=%g, acceleration %s"
                    % (duration, settings.get("Smoothing", 3),
                       "up to x%g" % settings.get("AccelStrength", 2) if settings.get("AccelEnabled", 1) else "off"),
                    14, "middle", "#444444"))
    titles = {"one notch": "One notch", "blended pair": "Two notches 100 ms apart",
              "fast burst": "Six notches 50 ms apart"}
    for i, (name, t) in enumerate(trains.items()):
        out += panel(20 + i * 490, titles.get(name, name), t, rows[i], duration, x_max)
    out.append(text(W / 2, 600, "ms since the first notch was sent", 13, "middle", "#444444"))
    # Legend.
    y, x = 626, 130
    out.append('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="2"/>' % (x, y - 4, x + 30, y - 4, BLUE))
    out.append(text(x + 36, y, "units received so far (a step per event)", 13))
    x += 310
    out.append('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="6"/>' % (x, y - 4, x + 30, y - 4, ORANGE))
    out.append(text(x + 36, y, "engine curve: 120·Ease(t/%d, 3, 0) per notch, blended" % duration, 13))
    x += 410
    out.append('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="1.5"/>' % (x, y - 4, x + 30, y - 4, JUMP))
    out.append(text(x + 36, y, "without smoothing: a jump per notch", 13))
    x += 290
    out.append('<polygon points="%d,%d %d,%d %d,%d" fill="%s"/>' % (x + 10, y - 10, x + 20, y - 10, x + 15, y - 1, RED))
    out.append(text(x + 28, y, "notch sent", 13))
    x += 110
    out.append('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="1.5" stroke-dasharray="7,5"/>' % (x, y - 4, x + 30, y - 4, GREY))
    out.append(text(x + 36, y, "expected total", 13))
    out.append("</svg>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[2])
    settings, trains = load(sys.argv[1])
    if not trains:
        sys.exit("plot-glide: no trains in %s" % sys.argv[1])
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
    write_svg(sys.argv[2], settings, trains, rows)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
