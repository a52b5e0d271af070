"""Velmora: one-dimensional global minimisation by Lipschitz methods.

The core's methods (``velmora.methods()`` lists them), their trial
histories and step records, the test classes of random multiextremal
functions, the literature's test sets and their operational
characteristics, for notebooks and scripts.

>>> import velmora
>>> r = velmora.search("sin(x[0]) + sin(10*x[0]/3)", (2.7, 7.5), method="strongin", steps=100)
"""

import operator

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
from ._core import _class_run, _operational, _test_set

__all__ = [
    "ArithmeticFault", "ClassRuns", "FormulaError", "Method", "SearchResult", "Step", "TestFunction", "TestSetRuns",
    "Trials", "class_run", "meeting_point", "methods", "minimize_scalar", "operational", "plot", "search",
    "test_function", "test_set",
]

_STOP_RULES = ("steps", "precision", "eps")


class ClassRuns(dict):
    """The rows of a class run: a dict of numpy arrays with the class csv's columns.

    ``class``, ``index``, ``method``, ``param`` (NaN for scanning),
    ``first_hit`` (the number of the first trial within delta (b - a) of a
    global minimiser, NaN for none), ``stop`` (hit, budget, interval,
    left-interval, no-interval, unsplittable, fault) and, with a stochastic method,
    ``seed``; ``max_trials`` and ``delta`` are the rule's.
    """

    def __init__(self, columns, max_trials, delta):
        super().__init__(columns)
        self.max_trials = max_trials
        self.delta = delta


class TestSetRuns(dict):
    """The rows of a test set's runs: a dict of numpy arrays with the test set csv's columns.

    ``id``, ``method``, ``param`` (NaN for scanning), ``trials``, ``success``
    (yes, no or fault), ``first_hit`` (the number of the first trial within
    eps of a global minimiser, NaN for none), ``error`` (the best point's
    distance to the nearest minimiser, NaN after a fault), ``seconds``,
    ``stop`` and, with a stochastic method, ``seed``; ``eps_rel`` and
    ``steps`` are the protocol's, ``max_trials`` the longest run's trials
    (where ``operational`` ends its curves).
    """

    def __init__(self, columns, eps_rel, steps):
        super().__init__(columns)
        self.eps_rel = eps_rel
        self.steps = steps
        self.max_trials = int(max(columns["trials"], default=1))


def _method_list(methods):
    # One id or one Method is a list of one, not a sequence of letters.
    if isinstance(methods, (str, Method)):
        return [methods]
    try:
        return list(methods)
    except TypeError:
        raise TypeError("methods must be a method's id (str), a Method, or a sequence of them") from None


def test_set(set="hansen20", methods=("scan", "piyavsky", "strongin"), *, eps_rel=1e-4, steps=None, params=None,
             jobs=None, seed=0, seeds=None):
    """Run methods on every problem of a test set under the literature's protocol.

    A run stops when the interval it would split is no longer than
    ``eps = eps_rel * (b - a)`` (or after ``steps`` steps); it succeeds when
    its best point lies within eps of a global minimiser, and its first hit
    is its first trial within eps of any of them. The rows and their figures
    are those of ``velmora-run --suite FILE --format csv``.

    Parameters
    ----------
    set : str, default "hansen20"
        A shipped test set, "hansen20", "hill1000" or "shekel1000", or the
        path of a file in the test-set format.
    methods : sequence of str or Method, default ("scan", "piyavsky", "strongin")
        Ids from ``methods()``, or Methods of your own (their rows carry their
        ``name``; they run on the threads like the others, each taking the
        GIL for its rules).
    eps_rel : float, default 1e-4
        The protocol's eps relative to b - a.
    steps : int, optional
        A fixed number of steps instead of the interval rule (NLopt's methods
        need it).
    params : dict, optional
        A parameter per method id; otherwise every multiplier r is 2 and
        Piyavsky's L is the file's ("from-file").
    jobs : int, optional
        Threads (1 to 256); by default one per core. The GIL is released.
    seed : int, default 0
        The seed of a stochastic method's runs.
    seeds : int, optional
        Run each stochastic method with seeds 0 .. seeds - 1 instead.

    Returns
    -------
    TestSetRuns
        Problem by problem, and for each problem method by method.

    Raises
    ------
    ValueError
        A bad argument, or a file that cannot be used (with its line).

    Examples
    --------
    >>> runs = velmora.test_set("hansen20", ["strongin"])
    >>> int(runs["first_hit"][7]), int(runs["first_hit"][10]), int(runs["first_hit"][11])
    (66, 75, 101)
    """
    runs = _test_set(str(set), _method_list(methods), eps_rel, steps, dict(params or {}), jobs, seed, seeds)
    return TestSetRuns(runs, eps_rel, steps)


def class_run(cls, indices, methods=("scan", "piyavsky", "strongin"), *, max_trials=1000, delta=1e-3,
              params=None, jobs=None, seed=0, seeds=None):
    """Run methods on functions of a test class under the rule of class runs.

    A run stops at its first trial within ``delta * (b - a)`` of a global
    minimiser (a shipped set's row may have several), at ``max_trials``
    trials, or when the chosen interval is no longer than 1e-9 (b - a); the
    rows are those of ``velmora-run --class CLASS:FIRST-LAST --format csv``.

    Parameters
    ----------
    cls : str
        A generated class, "hill" or "shekel", or a shipped test set,
        "hansen20", "hill1000" or "shekel1000" (its rows by position).
    indices : int or iterable of int
        The functions: N means 0..N-1, or e.g. ``range(100)``.
    methods : sequence of str or Method, default ("scan", "piyavsky", "strongin")
        Ids from ``methods()``, or Methods of your own (their rows carry
        their ``name``; they run on the threads like the others, each taking
        the GIL for its rules).
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
    seeds : int, optional
        Run each stochastic method with seeds 0 .. seeds - 1 instead.

    Returns
    -------
    ClassRuns
        Function by function, and for each function method by method (a
        stochastic one seed by seed).

    Examples
    --------
    >>> runs = velmora.class_run("hansen20", [7, 10, 11], ["strongin"], delta=1e-4)
    >>> [int(h) for h in runs["first_hit"]]
    [66, 75, 101]
    """
    if not isinstance(cls, str):
        raise TypeError("cls must be the name of a class or a shipped set (str)")
    if isinstance(indices, int):
        if indices < 1:
            raise ValueError("indices: a count of functions must be at least 1")
        indices = range(indices)
    try:
        indices = [operator.index(i) for i in indices]
    except TypeError:
        raise TypeError("indices must be a count of functions or a sequence of whole numbers") from None
    if not indices:
        raise ValueError("indices names no function")
    if any(i < 0 for i in indices):
        raise ValueError("indices: a function's index is a whole number from 0")
    runs = _class_run(cls, indices, _method_list(methods), max_trials, delta, dict(params or {}), jobs, seed, seeds)
    return ClassRuns(runs, max_trials, delta)


def operational(rows, max_trials=None):
    """The operational characteristic of each method in the rows of class or test-set runs.

    Parameters
    ----------
    rows : ClassRuns, TestSetRuns or dict
        Rows with the columns ``method`` and ``first_hit``, and ``seed`` for
        runs of several seeds.
    max_trials : int, optional
        Where the curves end; by default the rows' budget (a test set's: its
        longest run).

    Returns
    -------
    dict
        Per method, in the order of the rows: ``k`` and ``share``, the share
        of the runs solved within k trials at k = 1, at every k where it
        grows and at max_trials, each share holding until the next k (draw
        with ``where="post"``), and ``runs``, ``solved``, ``mean_first_hit``
        and ``median_first_hit``, the figures of velmora-run's summary.
        ``seeds`` counts the method's seeds; with several, as velmora-run
        gives them, ``share`` is the mean over the seeds with ``low`` and
        ``high`` the lowest and highest, ``runs`` is per seed, ``solved``
        and ``mean_first_hit`` are means over the seeds with
        ``solved_range`` and ``mean_first_hit_range`` (lowest, highest),
        and the median is over the runs of every seed.

    Examples
    --------
    >>> runs = velmora.class_run("hill", 20, ["strongin"], max_trials=200)
    >>> curve = velmora.operational(runs)["strongin"]
    >>> curve["solved"] == runs["first_hit"].size - int(np.isnan(runs["first_hit"]).sum())
    True
    """
    if max_trials is None:
        max_trials = getattr(rows, "max_trials", None)
    if max_trials is None:
        raise ValueError("operational needs max_trials for rows that do not carry it")
    seeds = [int(s) for s in rows["seed"]] if "seed" in rows else []
    return _operational([str(m) for m in rows["method"]], [float(h) for h in rows["first_hit"]], seeds,
                        int(max_trials))


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
