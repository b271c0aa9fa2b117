// The checks of a browser test: each check runs, a failure is counted and
// said on one line, and finish() ends the run with the verdict (exit status 1
// when any failed).
export function checker() {
  let failures = 0;
  const fail = (label, message, length = 400) => {
    ++failures;
    console.log(`FAIL ${label}: ${message.slice(0, length)}`);
  };
  const check = async (label, fn) => {
    try {
      await fn();
    } catch (e) {
      fail(label, e.message);
    }
  };
  const finish = (passed) => {
    if (failures > 0) {
      console.log(`${failures} failed`);
      process.exit(1);
    }
    console.log(passed);
  };
  return { check, fail, finish };
}
