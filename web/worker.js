// The page's worker: makes one map per message with its own instance of the
// generator's WebAssembly module, so the page stays responsive while it runs.
//
// Message in:  { id, options, module }  (options as the page's option table
//                                        names them; module the compiled
//                                        WebAssembly.Module, instantiated once)
// Messages out, each with that id:
//   { type: 'progress', text }                      now and then while it runs
//   { type: 'done', result, generateMs }            result as web/module.cpp makes it,
//                                                   but preview an ImageBitmap of the map
//   { type: 'error', message, console }             the run failed; message says why
import { instantiate } from './loader.js';

let generator;  // the instance, made from the first message's module

self.onmessage = async ({ data: { id, options, module: compiled } }) => {
  generator ??= instantiate(compiled);
  let module;
  try {
    module = await generator;
  } catch (error) {
    generator = undefined;  // try again on the next request
    self.postMessage({ id, type: 'error', message: `The generator could not be loaded: ${error.message ?? error}` });
    return;
  }
  const started = performance.now();
  let result;
  try {
    result = module.generate(options, (text) => self.postMessage({ id, type: 'progress', text }));
  } catch (error) {
    // Generator failures come back as result.error; a throw here means the
    // instance itself died (out of memory, a trap), so the next run gets a new one.
    generator = undefined;
    self.postMessage({ id, type: 'error', message: `The generator stopped: ${error.message ?? error}` });
    return;
  }
  if (result.error !== undefined) {
    self.postMessage({ id, type: 'error', message: result.error, console: result.console });
    return;
  }
  // The picture is decoded here, off the page's thread, into a bitmap the
  // page draws directly.
  const { width, height, rgba } = result.preview;
  const picture = await createImageBitmap(new ImageData(new Uint8ClampedArray(rgba.buffer), width, height));
  const generateMs = performance.now() - started;
  self.postMessage({ id, type: 'done', result: { ...result, preview: picture }, generateMs },
    [result.bytes.buffer, picture]);
};
