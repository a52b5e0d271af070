"""What the Python module costs beside the core, and beside SciPy's global methods.

    PYTHONPATH=build/python VELMORA_RUN=build/cli/velmora-run /usr/bin/python3 bench/python/module_speed.py

Each figure is the least of several runs: on a shared machine the least is
the one least disturbed.
"""

import math
import os
import subprocess
import time

from scipy import optimize

import velmora

FORMULA = "sin(x[0]) + sin(10*x[0]/3)"
INTERVAL = (2.7, 7.5)
REPEATS = 7


def least(run, repeats=REPEATS):
    best = math.inf
    for _ in range(repeats):
        start = time.perf_counter()
        value = run()
        best = min(best, time.perf_counter() - start)
    return best, value


def core_seconds_of(formula, method, steps, param=None):
    """velmora-run's own time of the run, without its start and its output."""
    args = [os.environ["VELMORA_RUN"], formula, "--interval", *map(str, INTERVAL), "--method", method,
            "--steps", str(steps)] + (["--param", str(param)] if param is not None else [])
    out = subprocess.run(args, capture_output=True, text=True, check=True)
    return float(next(line.split()[1] for line in out.stdout.splitlines() if line.startswith("time")))


def callable_cost(f, n):
    """Seconds per call of f alone, in a Python loop."""
    xs = [INTERVAL[0] + (INTERVAL[1] - INTERVAL[0]) * i / n for i in range(n)]
    seconds, _ = least(lambda: [f(x) for x in xs], 3)
    return seconds / n


def main():
    steps = 100000
    module, _ = least(lambda: velmora.search(FORMULA, INTERVAL, method="strongin", param=2, steps=steps))
    core = min(core_seconds_of(FORMULA, "strongin", steps, 2) for _ in range(REPEATS))
    print(f"strongin, {steps} steps on a formula: module {module * 1e3:.1f} ms, core {core * 1e3:.1f} ms, "
          f"ratio {module / core:.2f}")

    def f(x):
        return math.sin(x) + math.sin(10 * x / 3)

    own = callable_cost(f, steps)
    by_callable, r = least(lambda: velmora.search(f, INTERVAL, method="scan", steps=steps))
    # Scanning places its trials whatever f gives, so the cheapest formula
    # leaves the engine's own time.
    engine, _ = least(lambda: velmora.search("x[0]", INTERVAL, method="scan", steps=steps))
    per_evaluation_in_search = (by_callable - engine) / r.nfev
    print(f"a callable: {own * 1e6:.3f} us per call in a Python loop; in a search "
          f"{per_evaluation_in_search * 1e6:.3f} us per evaluation beyond the engine's own time "
          f"(scan, {r.nfev} evaluations)")

    # Whatever a search spends outside the core's own run: the result, the
    # trials as numpy arrays among it.
    outside = min(t - r.seconds for t, r in (least(lambda: velmora.search("x[0]", INTERVAL, method="scan",
                                                                          steps=steps), 1) for _ in range(REPEATS)))
    print(f"the result of {r.nfev} trials, their numpy arrays included: {outside * 1e3:.2f} ms")

    bounds = [INTERVAL]
    vector_own = callable_cost(lambda x: f(x), steps)  # SciPy passes an array; the same body

    def per_evaluation(run):
        seconds, result = least(run, 3)
        return seconds / result.nfev - vector_own, result.nfev

    direct, n_direct = per_evaluation(lambda: optimize.direct(lambda x: f(x[0]), bounds, maxfun=20000,
                                                              maxiter=100000, eps=0, vol_tol=0, len_tol=0))
    shgo, n_shgo = per_evaluation(lambda: optimize.shgo(lambda x: f(x[0]), bounds, n=2000, iters=1,
                                                        options={"maxfev": 20000}))
    print(f"beyond the callable, per evaluation: scipy direct {direct * 1e6:.2f} us ({n_direct} evaluations), "
          f"scipy shgo {shgo * 1e6:.2f} us ({n_shgo}); velmora's whole cost of an evaluation, the callable "
          f"included, {per_evaluation_in_search * 1e6:.3f} us")


if __name__ == "__main__":
    main()
