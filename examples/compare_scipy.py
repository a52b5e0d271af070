"""Velmora's methods beside scipy.optimize's global ones on the first 100
functions of the standard Hill set, under the rule of Velmora's class runs.

Every method gets the same budget of trials and is stopped at its first
trial within delta * (b - a) of the function's global minimiser; the
picture is the share of the functions solved within k trials.

    PYTHONPATH=build/python /usr/bin/python3 examples/compare_scipy.py docs/pictures/python-scipy-hill1000.png
"""

import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np
from scipy import optimize

import velmora

SET, FUNCTIONS, BUDGET, DELTA = "hill1000", range(100), 1000, 1e-3
VELMORA_METHODS = ["piyavsky", "strongin", "inf-ltma"]


class Hit(Exception):
    """Ends a SciPy run: its first trial near x*, or its budget spent."""


def first_hit(solver, f):
    """The number of f's evaluations up to the first within delta of x*, or NaN."""
    count = 0

    def objective(x):
        nonlocal count
        count += 1
        x = float(np.asarray(x).ravel()[0])
        if abs(x - f.xstar) <= DELTA * (f.b - f.a):
            raise Hit(count)
        if count >= BUDGET:
            raise Hit(np.nan)
        return float(f(x))

    try:
        solver(objective, [(f.a, f.b)])
    except Exception as error:  # DIRECT's C code wraps what the objective raised in a SystemError
        while not isinstance(error, Hit):
            if error.__cause__ is None:
                raise
            error = error.__cause__
        return error.args[0]
    return np.nan  # the solver ended by its own rule before either


SCIPY_SOLVERS = {
    "scipy direct": lambda f, bounds: optimize.direct(f, bounds, maxfun=BUDGET, locally_biased=False),
    "scipy shgo": lambda f, bounds: optimize.shgo(f, bounds, n=BUDGET, options={"maxfev": BUDGET}),
    "scipy dual_annealing": lambda f, bounds: optimize.dual_annealing(f, bounds, maxfun=BUDGET, seed=0),
    "scipy differential_evolution": lambda f, bounds: optimize.differential_evolution(
        f, bounds, maxiter=BUDGET, seed=0, polish=False),
}


def main(picture):
    rows = velmora.class_run(SET, FUNCTIONS, methods=VELMORA_METHODS, max_trials=BUDGET, delta=DELTA)
    methods, hits = list(rows["method"]), list(rows["first_hit"])
    for name, solver in SCIPY_SOLVERS.items():
        for index in FUNCTIONS:
            methods.append(name)
            hits.append(first_hit(solver, velmora.test_function(SET, index)))

    curves = velmora.operational({"method": methods, "first_hit": hits}, max_trials=BUDGET)
    fig, ax = plt.subplots(figsize=(8, 5), dpi=100)
    for name, curve in curves.items():
        style = "-" if name in VELMORA_METHODS else "--"
        ax.step(curve["k"], curve["share"], where="post", linestyle=style, label=name)
        print(f"{name:30} solved {curve['solved']:3}/{curve['runs']}  mean first hit {curve['mean_first_hit']}")
    ax.set_xscale("log")
    ax.set_xlabel("k, trials (log scale)")
    ax.set_ylabel("share of the functions solved within k trials")
    ax.set_title(f"{SET}, functions 0-99: first trial within {DELTA}(b - a) of x*, budget {BUDGET}")
    ax.set_ylim(0, 1.02)
    ax.grid(True, which="both", alpha=0.3)
    ax.legend(loc="upper left", fontsize=9)
    fig.tight_layout()
    fig.savefig(picture)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "python-scipy-hill1000.png")
