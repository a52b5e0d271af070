"""Velmora: one-dimensional global minimisation by Lipschitz methods.

The core's methods (``velmora.methods()`` lists them), their trial
histories and step records, the test classes of random multiextremal
functions and their operational characteristics, for notebooks and scripts.

>>> import velmora
>>> r = velmora.search("sin(x[0]) + sin(10*x[0]/3)", (2.7, 7.5), method="strongin", steps=100)
"""

from ._core import (
    ArithmeticFault,
    FormulaError,
    Method,
    SearchResult,
    Step,
    TestFunction,
    Trials,
    meeting_point,
    methods,
    search,
    test_function,
)
from ._core import _class_run, _operational

__all__ = [
    "ArithmeticFault", "ClassRuns", "FormulaError", "Method", "SearchResult", "Step", "TestFunction", "Trials",
    "class_run", "meeting_point", "methods", "minimize_scalar", "operational", "plot", "search", "test_function",
]

_STOP_RULES = ("steps", "precision", "eps")


class ClassRuns(dict):
    """The rows of a class run: a dict of numpy arrays with the class csv's columns.

    ``class``, ``index``, ``method``, ``param`` (NaN for scanning),
    ``first_hit`` (the number of the first trial within delta (b - a) of x*,
    NaN for none) and ``stop`` (hit, budget, interval, left-interval,
    no-interval, fault); ``max_trials`` and ``delta`` are the rule's.
    """

    def __init__(self, columns, max_trials, delta):
        super().__init__(columns)
        self.max_trials = max_trials
        self.delta = delta


def class_run(cls, indices, methods=("scan", "piyavsky", "strongin"), *, max_trials=1000, delta=1e-3,
              params=None, jobs=None, seed=0):
    """Run methods on functions of a test class under the rule of class runs.

    A run stops at its first trial within ``delta * (b - a)`` of the global
    minimiser, at ``max_trials`` trials, or when the chosen interval is no
    longer than 1e-9 (b - a); the rows are those of
    ``velmora-run --class CLASS:FIRST-LAST --format csv``.

    Parameters
    ----------
    cls : str
        A generated class, "hill" or "shekel", or a shipped test set,
        "hansen20", "hill1000" or "shekel1000" (its rows by position).
    indices : int or iterable of int
        The functions: N means 0..N-1, or e.g. ``range(100)``.
    methods : sequence of str or Method, default ("scan", "piyavsky", "strongin")
        Ids from ``methods()``, or Methods of your own (their rows carry
        their ``name``; they run one after another, holding the GIL).
    max_trials : int, default 1000
        The budget, both ends included (2 to 100002).
    delta : float, default 1e-3
        How near x* a trial must come, relative to b - a.
    params : dict, optional
        A parameter per method id; otherwise every multiplier r is 2 and
        Piyavsky's L is the function's constant times 1.1 ("from-function").
    jobs : int, optional
        Threads (1 to 256); by default one per core. The GIL is released.
    seed : int, default 0
        The seed of a stochastic method's runs (the rows then have a
        ``seed`` column).

    Returns
    -------
    ClassRuns
        Function by function, and for each function method by method.
    """
    if isinstance(indices, int):
        indices = range(indices)
    runs = _class_run(cls, list(indices), list(methods), max_trials, delta, dict(params or {}), jobs, seed)
    return ClassRuns(runs, max_trials, delta)


def operational(rows, max_trials=None):
    """The operational characteristic of each method in class-run rows.

    Parameters
    ----------
    rows : ClassRuns or dict
        The rows of ``class_run`` (columns ``method`` and ``first_hit``).
    max_trials : int, optional
        Where the curves end; by default the rows' budget.

    Returns
    -------
    dict
        Per method, in the order of the rows: ``k`` and ``share``, the share
        of the functions solved within k trials at k = 1, at every k where it
        grows and at max_trials, each share holding until the next k (draw
        with ``where="post"``), and ``runs``, ``solved``, ``mean_first_hit``
        and ``median_first_hit``, the figures of velmora-run's summary.
    """
    if max_trials is None:
        max_trials = getattr(rows, "max_trials", None)
    if max_trials is None:
        raise ValueError("operational needs max_trials for rows that do not carry it")
    return _operational([str(m) for m in rows["method"]], [float(h) for h in rows["first_hit"]], int(max_trials))


def minimize_scalar(fun, bracket=None, bounds=None, args=(), method="strongin", tol=None, callback=None,
                    options=None):
    """Minimise a function of one variable on an interval, with scipy's signature.

    Parameters
    ----------
    fun : callable or str
        ``fun(x, *args) -> float``, or a formula in x[0] whose x[1], x[2], ...
        are ``args``.
    bracket : None
        Not taken: Velmora's methods search the whole interval ``bounds``.
    bounds : (float, float)
        The interval.
    args : tuple, optional
        Extra arguments of ``fun``.
    method : str or Method, default "strongin"
        An id from ``methods()`` or a ``Method``.
    tol : float, optional
        The stop rule ``eps``: the run ends when the interval it would split
        is no longer than tol. Without tol and without a stop rule in
        ``options``, tol is 1e-5 (scipy's xatol).
    callback : callable, optional
        As in ``search``: called after each step; a true return stops.
    options : dict, optional
        ``param``, and at most one of ``steps``, ``precision`` and ``eps``
        (which tol must then leave out), as ``search`` takes them.

    Returns
    -------
    SearchResult
        With scipy's fields ``x``, ``fun``, ``nit``, ``nfev``, ``success``,
        ``status`` (0 for success) and ``message``, and Velmora's own, whether
        or not scipy is installed.

    Examples
    --------
    >>> r = velmora.minimize_scalar(lambda x: (x - 1.0) ** 2, bounds=(0, 3), method="strongin", tol=1e-6)
    >>> round(r.x, 4), r.success, r.status, r.stop
    (1.0, True, 0, 'interval')
    """
    if bracket is not None:
        raise ValueError("bracket is not taken: Velmora searches the whole interval bounds=(A, B)")
    if bounds is None:
        raise ValueError("bounds=(A, B) is required")
    options = dict(options or {})
    if tol is not None:
        if any(rule in options for rule in _STOP_RULES):
            raise ValueError("give only one stop rule: tol or one of steps=, precision= or eps= in options")
        options["eps"] = tol
    elif not any(rule in options for rule in _STOP_RULES):
        options["eps"] = 1e-5
    objective = fun
    if args and isinstance(fun, str):
        options["params"] = list(args)
    elif args:
        objective = lambda x: fun(x, *args)  # noqa: E731
    return search(objective, bounds, method=method, callback=callback, **options)


def plot(result, objective=None, ax=None, samples=500):
    """Draw a run: its trials, numbered in the order of placing, over the objective's curve.

    Parameters
    ----------
    result : SearchResult
        Any run, a Method's of your own included.
    objective : callable, optional
        Drawn at ``samples`` points between the first and the last trial
        (a TestFunction takes the whole array at once).
    ax : matplotlib Axes, optional
        Where to draw; by default the current axes.

    Returns
    -------
    matplotlib Axes
    """
    import numpy as np
    import matplotlib.pyplot as plt

    ax = ax if ax is not None else plt.gca()
    t = result.trials
    if objective is not None:
        xs = np.linspace(t.x[0], t.x[-1], samples)
        ys = objective(xs) if isinstance(objective, TestFunction) else [objective(x) for x in xs]
        ax.plot(xs, ys, color="0.5", linewidth=1, label="F")
    points = ax.scatter(t.x, t.f, c=t.order, cmap="viridis", s=12, zorder=3, label="trials")
    ax.axvline(result.x, color="crimson", linewidth=0.8, linestyle="--", label="best x")
    ax.figure.colorbar(points, ax=ax, label="order of placing")
    ax.set_xlabel("x")
    ax.legend(loc="best")
    return ax
