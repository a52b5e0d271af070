// The page's words in both languages. The Russian ones are the window's own,
// letter for letter (its misspellings included), so a user of the window finds
// every caption where it was; the English ones translate them.

const Words = {
  ru: {
    title: 'Velmora',
    tabSearch: 'Поиск',
    tabCourse: 'Ход поиска',
    tabLab: 'Лаборатория',
    language: 'Язык',
    loading: 'Загрузка ядра…',
    coreMissing: 'Ядро не загрузилось: ',
    coreReloaded: 'Формула вложена слишком глубоко: ядру не хватило стека. Ядро загружается заново.',
    coreBusy: 'Ядро загружается заново; повторите через мгновение.',
    unexpected: 'Непредвиденная ошибка страницы: ',
    close: 'Закрыть',

    functionGroup: 'Оптимизируемая Функция',
    formulaCaption: 'F ( X[0] ) = ',
    formulaTip: 'Введите математическое выражение функции',
    errorsCaption: 'Ошибки:',
    errorsTip: 'Ошибки ввода математического выражения',
    samplesCaption: 'Из списка:',
    samplesTip: 'Выберите функцию из списка',
    noSample: 'Функция не выбрана',
    paramsCaption: 'Параметры: ',
    paramCountTip: 'Количество параметров функции',
    paramsTip: 'Значения параметров функции',
    update: 'Update',
    updateTip: 'Принять изменеия функции',
    random: 'Random',
    randomTip: 'Случайные значения параметров из отрезка (-1, 1)',

    intervalGroup: 'Интервал поиска:',
    xmin: 'X min:',
    xmax: 'X max:',
    xminTip: 'Введите начало отрезка поиска',
    xmaxTip: 'Введите конец отрезка поиска',
    methodGroup: 'Метод поиска глобального минимума:',
    otherMethods: 'Другие методы',
    slopeMethods: 'Методы с f′',
    methodParamsGroup: 'Параметры метода поиска:',
    stopSteps: 'Остановка метода по числу шагов:',
    stopPrecision: 'Остановка метода по точности:---->',
    stopInterval: 'Остановка по длине интервала:---->',
    paramLabel: {
      lipschitz: 'Оценка константы Липшица L:',
      multiplier: 'Множитель r:',
      'slope-lipschitz': 'Оценка константы Липшица f′ M:',
      population: 'Популяция:',
    },

    resultsGroup: 'Результаты Поиска:',
    bestX: 'Глобальный Минимум:',
    bestF: 'F в нём:',
    madePrecision: 'Достигнутая точность:',
    madeSteps: 'Сдел-е Число шагов:',
    trialsCount: 'Испытаний:',
    stopReason: 'Остановка:',
    search: 'Search',

    chartGroup: 'Построение Графика Функции:',
    chartTitle: 'График Оптимизируемой Функции',
    legendCurve: ' - График оптимизируемой функции;',
    legendTrials: ' - Точки поисковых испытаний метода поиска глоб. минимума;',
    saveChart: 'Сохранить график (PNG)',
    saveTrials: 'Сохранить испытания (CSV)',
    shareLink: 'Ссылка на этот поиск',

    stops: {
      steps: 'сделано заданное число шагов',
      precision: 'достигнута заданная точность',
      interval: 'выбранный интервал стал достаточно коротким',
      bound: 'достигнута граница числа шагов',
      fault: 'ошибка вычисления',
      requested: 'остановка по запросу',
      'left-interval': 'новая точка вышла за свой интервал',
      'no-interval': 'ни один интервал нельзя выбрать',
      unsplittable: 'выбранный интервал больше не делится',
    },

    input: {
      FunctionParameter: 'Неверно введён один из параметров функции',
      Interval: 'Неверно введён интервал поиска значения',
      MethodParameter: 'Неверно задан параметр метода Пиявского или Стронгина',
      Multiplier: ' Множитель константы Липшица в методе Стронгина должен быть > 1',
      Precision: 'Неверно задана точность поиска минимума',
      IntervalLength: 'Неверно задана длина интервала',
    },
    precisionNotReached: (steps) => `Заданная точность поиска не достигнута за ${steps} шагов`,

    share: {
      missing: (names) => `В адресе нет полей: ${names}`,
      extra: (names) => `Поля адреса не нужны и пропущены: ${names}`,
      badMethod: (key) => `В адресе неизвестный метод: ${key}`,
      badStop: (key) => `В адресе неизвестное правило остановки: ${key}`,
      badParams: 'В адресе неверные параметры функции',
    },

    course: {
      none: 'Сначала выполните поиск (Search): здесь его ход шаг за шагом.',
      back: 'Шаг назад',
      play: 'Воспроизвести ход поиска шаг за шагом',
      forward: 'Шаг вперёд',
      slider: 'Состояние после шага',
      step: 'Шаг:',
      stepTip: 'Номер шага',
      of: (n) => `из ${n}`,
      speed: 'Скорость:',
      speeds: ['1 шаг/с', '2 шага/с', '5 шагов/с', '10 шагов/с', '50 шагов/с', '200 шагов/с', '1000 шагов/с', '5000 шагов/с'],
      traceStart: 'Начало: испытания в концах интервала',
      traceStep: (k, n, brokenLine) =>
        `Шаг ${k} из ${n}: ` + (brokenLine ? 'испытания до него, его точка и ломаная' : 'испытания до него и его точка'),
      charactStart: 'Характеристика интервала перед первым шагом',
      charactStep: (k) => `Характеристики интервалов, из которых выбирал шаг ${k}`,
      bestTitle: 'Наименьшее найденное значение',
      bestAxis: 'шаг',
      legendFunction: 'функция',
      legendTrials: 'испытания до шага',
      legendPoint: 'точка шага',
      legendLine: 'ломаная',
      legendMinorant: 'миноранта',
      legendInterval: 'делимый интервал',
      summaryStart: (a, fa, b, fb, r) =>
        `Начало: испытания в концах интервала, F(${a}) = ${fa} и F(${b}) = ${fb}; характеристика интервала R = ${r}.`,
      summaryStep: (k, count, interval, left, right, r) =>
        `Шаг ${k}: из ${count} интервалов выбран ${interval}-й, [${left}; ${right}], с характеристикой R = ${r}.`,
      summaryPoint: (x, f, p) => ` Новая точка x = ${x}, F(x) = ${f}, точность ${p}.`,
      summaryBest: (best) => ` Наименьшее найденное значение ${best}.`,
      columns: ['Шаг', 'Интервал', 'Левый конец', 'Правый конец', 'Характеристика', 'Константа', 'Новая точка', 'Значение', 'Точность'],
      table: 'Таблица шагов',
      saveTrace: 'Рисунок хода поиска (PNG)',
      saveCharact: 'Рисунок характеристик (PNG)',
      saveBest: 'Рисунок лучшего значения (PNG)',
      saveSteps: 'Таблицу шагов (CSV)',
      outside: (k) => `Выход за интервал: шаг ${k}`,
      outsideTip: 'Перейти к первому шагу, точка которого вышла за интервал поиска',
    },

    lab: {
      problems: 'Задачи',
      fromClass: 'Класс функций',
      fromSet: 'Набор задач',
      cls: 'Класс:',
      first: 'Первая:',
      last: 'Последняя:',
      set: 'Набор:',
      setFirst: 'С задачи №:',
      setCount: 'Задач:',
      methods: 'Методы и их параметры',
      paramTip: (key) => `Параметр метода ${key} (пусто — как в серийных запусках)`,
      needsParam: 'нужен параметр',
      rule: 'Правило',
      budget: 'Бюджет испытаний:',
      delta: 'δ (доля b − a):',
      epsRel: 'ε (доля b − a):',
      steps: 'Число шагов:',
      run: 'Запустить',
      stop: 'Остановить',
      progress: 'Ход расчёта',
      done: (n, s) => `Готово: ${n} запусков за ${s} с.`,
      stopped: 'Расчёт остановлен.',
      noMethods: 'Не выбран ни один метод',
      badRange: 'Неверно задан диапазон задач',
      badNumber: (what) => `Неверно задано: ${what}`,
      summary: 'Сводка',
      operational: 'Операционные характеристики: доля решённых задач за k испытаний',
      logK: 'k в логарифмической шкале',
      saveCsv: 'Сохранить строки (CSV)',
      classColumns: ['метод', 'параметр', 'запусков', 'решено', 'среднее первое попадание', 'медиана первого попадания'],
      setColumns: ['метод', 'параметр', 'запусков', 'успешных', 'среднее число испытаний', 'средняя ошибка', 'среднее первое попадание'],
      // Piyavsky's L in class runs is each function's constant with a margin; in a test set, the file's.
      paramOfProblem: { class: '1,1·L функции', set: 'L из файла' },
      workers: (n) => `Потоков: ${n}`,
    },
  },

  en: {
    title: 'Velmora',
    tabSearch: 'Search',
    tabCourse: 'Course of the search',
    tabLab: 'Lab',
    language: 'Language',
    loading: 'Loading the core…',
    coreMissing: 'The core did not load: ',
    coreReloaded: 'The formula is nested too deeply: the core ran out of stack. The core is loading again.',
    coreBusy: 'The core is loading again; try again in a moment.',
    unexpected: 'Unexpected page error: ',
    close: 'Close',

    functionGroup: 'Function to minimise',
    formulaCaption: 'F ( X[0] ) = ',
    formulaTip: 'Type the function as a formula',
    errorsCaption: 'Errors:',
    errorsTip: 'Errors in the formula',
    samplesCaption: 'From the list:',
    samplesTip: 'Choose a function from the list',
    noSample: 'No function chosen',
    paramsCaption: 'Parameters: ',
    paramCountTip: 'Number of the function\'s parameters',
    paramsTip: 'Values of the function\'s parameters',
    update: 'Update',
    updateTip: 'Take the function\'s changes',
    random: 'Random',
    randomTip: 'Random parameter values from (-1, 1)',

    intervalGroup: 'Search interval:',
    xmin: 'X min:',
    xmax: 'X max:',
    xminTip: 'Type the start of the interval',
    xmaxTip: 'Type the end of the interval',
    methodGroup: 'Global minimisation method:',
    otherMethods: 'Other methods',
    slopeMethods: 'Methods with f′',
    methodParamsGroup: 'Method parameters:',
    stopSteps: 'Stop after a number of steps:',
    stopPrecision: 'Stop at a precision:---->',
    stopInterval: 'Stop at an interval length:---->',
    paramLabel: {
      lipschitz: 'Lipschitz estimate L:',
      multiplier: 'Multiplier r:',
      'slope-lipschitz': 'Lipschitz estimate of f′ M:',
      population: 'Population:',
    },

    resultsGroup: 'Search results:',
    bestX: 'Global minimum:',
    bestF: 'F there:',
    madePrecision: 'Precision reached:',
    madeSteps: 'Steps made:',
    trialsCount: 'Trials:',
    stopReason: 'Stopped:',
    search: 'Search',

    chartGroup: 'Chart of the function:',
    chartTitle: 'Chart of the function to minimise',
    legendCurve: ' - the function to minimise;',
    legendTrials: ' - trial points of the global search;',
    saveChart: 'Save the chart (PNG)',
    saveTrials: 'Save the trials (CSV)',
    shareLink: 'Link to this search',

    stops: {
      steps: 'the steps were made',
      precision: 'the precision was reached',
      interval: 'the chosen interval was short enough',
      bound: 'the step bound was hit',
      fault: 'a fault',
      requested: 'a stop was asked for',
      'left-interval': 'the new point left its interval',
      'no-interval': 'no interval could be chosen',
      unsplittable: 'the chosen interval cannot be split further',
    },

    input: {
      FunctionParameter: 'One of the function\'s parameters is entered wrongly',
      Interval: 'The search interval is entered wrongly',
      MethodParameter: 'The parameter of Piyavsky\'s or Strongin\'s method is entered wrongly',
      Multiplier: 'The multiplier of the Lipschitz constant in Strongin\'s method must be > 1',
      Precision: 'The search precision is entered wrongly',
      IntervalLength: 'The interval length is entered wrongly',
    },
    precisionNotReached: (steps) => `The precision asked for was not reached in ${steps} steps`,

    share: {
      missing: (names) => `The address lacks the fields: ${names}`,
      extra: (names) => `Fields of the address not needed and skipped: ${names}`,
      badMethod: (key) => `The address names an unknown method: ${key}`,
      badStop: (key) => `The address names an unknown stop rule: ${key}`,
      badParams: 'The address holds wrong function parameters',
    },

    course: {
      none: 'Make a Search first: its course is replayed here step by step.',
      back: 'Step back',
      play: 'Play the search step by step',
      forward: 'Step forward',
      slider: 'State after the step',
      step: 'Step:',
      stepTip: 'Step number',
      of: (n) => `of ${n}`,
      speed: 'Speed:',
      speeds: ['1 step/s', '2 steps/s', '5 steps/s', '10 steps/s', '50 steps/s', '200 steps/s', '1000 steps/s', '5000 steps/s'],
      traceStart: 'Start: trials at the ends of the interval',
      traceStep: (k, n, brokenLine) =>
        `Step ${k} of ${n}: ` + (brokenLine ? 'the trials before it, its point and the broken line' : 'the trials before it and its point'),
      charactStart: 'The interval\'s characteristic before the first step',
      charactStep: (k) => `Characteristics of the intervals step ${k} chose from`,
      bestTitle: 'Lowest value found',
      bestAxis: 'step',
      legendFunction: 'function',
      legendTrials: 'trials before the step',
      legendPoint: 'the step\'s point',
      legendLine: 'broken line',
      legendMinorant: 'minorant',
      legendInterval: 'interval split',
      summaryStart: (a, fa, b, fb, r) =>
        `Start: trials at the ends of the interval, F(${a}) = ${fa} and F(${b}) = ${fb}; the interval's characteristic R = ${r}.`,
      summaryStep: (k, count, interval, left, right, r) =>
        `Step ${k}: of ${count} intervals, number ${interval}, [${left}; ${right}], was chosen, with characteristic R = ${r}.`,
      summaryConstant: { piyavsky: 'Broken line with L = ', strongin: 'Constant estimate m = r·M = ' },
      summaryPoint: (x, f, p) => ` New point x = ${x}, F(x) = ${f}, precision ${p}.`,
      summaryBest: (best) => ` Lowest value found ${best}.`,
      columns: ['Step', 'Interval', 'Left end', 'Right end', 'Characteristic', 'Constant', 'New point', 'Value', 'Precision'],
      table: 'Table of steps',
      saveTrace: 'Picture of the course (PNG)',
      saveCharact: 'Picture of the characteristics (PNG)',
      saveBest: 'Picture of the lowest value (PNG)',
      saveSteps: 'Table of steps (CSV)',
      outside: (k) => `Left the interval: step ${k}`,
      outsideTip: 'Go to the first step whose point left the search interval',
    },

    lab: {
      problems: 'Problems',
      fromClass: 'Class of functions',
      fromSet: 'Test set',
      cls: 'Class:',
      first: 'First:',
      last: 'Last:',
      set: 'Set:',
      setFirst: 'From problem no.:',
      setCount: 'Problems:',
      methods: 'Methods and their parameters',
      paramTip: (key) => `Parameter of ${key} (empty: as runs over many problems take it)`,
      needsParam: 'needs a parameter',
      rule: 'Rule',
      budget: 'Trial budget:',
      delta: 'δ (share of b − a):',
      epsRel: 'ε (share of b − a):',
      steps: 'Steps:',
      run: 'Run',
      stop: 'Stop',
      progress: 'Progress',
      done: (n, s) => `Done: ${n} runs in ${s} s.`,
      stopped: 'The runs were stopped.',
      noMethods: 'No method is chosen',
      badRange: 'The range of problems is wrong',
      badNumber: (what) => `Wrongly entered: ${what}`,
      summary: 'Summary',
      operational: 'Operational characteristics: share solved within k trials',
      logK: 'logarithmic k',
      saveCsv: 'Save the rows (CSV)',
      classColumns: ['method', 'parameter', 'runs', 'solved', 'mean first hit', 'median first hit'],
      setColumns: ['method', 'parameter', 'runs', 'successes', 'mean trials', 'mean error', 'mean first hit'],
      paramOfProblem: { class: '1.1·L of the function', set: 'L of the file' },
      workers: (n) => `Workers: ${n}`,
    },
  },
};

let current = 'ru';
const listeners = [];

export function language() {
  return current;
}

// Russian writes numbers with a comma, as the window does under a Russian locale.
export function separator() {
  return current === 'ru' ? ',' : '.';
}

export function words() {
  return Words[current];
}

export function onLanguageChange(listener) {
  listeners.push(listener);
}

export function setLanguage(lang) {
  if (!(lang in Words) || lang === current) return;
  const before = separator();
  current = lang;
  document.documentElement.lang = lang;
  applyWords(document);
  for (const listener of listeners) listener(before);
}

// A caption's key is a path into the words ("course.back"); an element takes
// it as its text (data-text), its accessible name (data-label) or its tooltip (data-tip).
function lookUp(path) {
  return path.split('.').reduce((node, part) => (node == null ? node : node[part]), Words[current]);
}

export function applyWords(root) {
  for (const el of root.querySelectorAll('[data-text]')) el.textContent = lookUp(el.dataset.text);
  for (const el of root.querySelectorAll('[data-label]')) el.setAttribute('aria-label', lookUp(el.dataset.label));
  for (const el of root.querySelectorAll('[data-tip]')) el.title = lookUp(el.dataset.tip);
}
