// A node:test reporter that prints one closing line, "N passed, M failed",
// counting tests (not the suites that group them).
export default async function* summary(source) {
  let passed = 0;
  let failed = 0;
  for await (const event of source) {
    if (event.data?.details?.type === 'suite') continue;
    if (event.type === 'test:pass') passed += 1;
    if (event.type === 'test:fail') failed += 1;
  }
  yield `${passed} passed, ${failed} failed\n`;
}
