// The page's address holds the Search's inputs, so that a link opens the same
// search. Numbers are written with a point and every digit, parameters
// separated by ";" (a comma may be a typed number's separator).
import { shortestPlain } from './numbers.js';
import { words } from './texts.js';

const Required = ['formula', 'xmin', 'xmax', 'method', 'stop', 'value'];
const Optional = ['params', 'param'];

export function addressOf(request) {
  const fields = new URLSearchParams();
  fields.set('formula', request.formula);
  if (request.params.length) fields.set('params', request.params.map(shortestPlain).join(';'));
  fields.set('xmin', shortestPlain(request.xmin));
  fields.set('xmax', shortestPlain(request.xmax));
  fields.set('method', request.method);
  const stop = ['steps', 'precision', 'eps'].find((rule) => request[rule] !== undefined);
  fields.set('stop', stop);
  fields.set('value', stop === 'steps' ? String(request.steps) : shortestPlain(request[stop]));
  if (request.param !== undefined) fields.set('param', shortestPlain(request.param));
  return `#${fields.toString()}`;
}

// The inputs an address names, as text, and what is wrong with it; null
// when the address names no search at all.
// methodById gives the method of an id, or null.
export function readAddress(hash, methodById) {
  const fields = new URLSearchParams(hash.replace(/^#/, ''));
  const names = [...fields.keys()];
  if (!names.length) return null;
  const problems = [];
  const missing = Required.filter((name) => !fields.has(name));
  if (missing.length) problems.push(words().share.missing(missing.join(', ')));
  const extra = names.filter((name) => !Required.includes(name) && !Optional.includes(name));
  if (extra.length) problems.push(words().share.extra(extra.join(', ')));
  const inputs = {
    formula: fields.get('formula') ?? '',
    params: fields.get('params') ? fields.get('params').split(';') : [],
    xmin: fields.get('xmin') ?? '',
    xmax: fields.get('xmax') ?? '',
    method: fields.get('method'),
    stop: fields.get('stop'),
    value: fields.get('value') ?? '',
    param: fields.get('param') ?? undefined,
  };
  const method = inputs.method === null ? null : methodById(inputs.method);
  const badMethod = inputs.method !== null && !method;
  if (badMethod) problems.push(words().share.badMethod(inputs.method));
  const badStop = inputs.stop !== null && !(method ? method.stops : ['steps', 'precision', 'eps']).includes(inputs.stop);
  if (badStop) problems.push(words().share.badStop(inputs.stop));
  const badParams = inputs.params.length > 9;
  if (badParams) problems.push(words().share.badParams);
  // The fields the address got wrong keep what the page shows; fields not
  // needed are only mentioned, but a field missing or wrong stops the Search.
  return {
    inputs: {
      ...inputs,
      method: badMethod ? null : inputs.method,
      stop: badStop || badMethod ? null : inputs.stop,
      params: badParams ? null : inputs.params,
    },
    problems,
    complete: !missing.length && !badMethod && !badStop && !badParams,
  };
}
