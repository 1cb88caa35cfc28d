// Runs a check built for wasm32 beside the web page (build-web/tests/NAME.js, by
// scripts/build-web.sh) under Node, passing on its output and exit status.
//
//   node tests/web/run_wasm32.mjs build-web/tests/settings_integers_wasm32.js
// Exits 77 (skipped), saying why, while it has not been built, unless
// NOLTACE_REQUIRE_DATA is set (in CI a skip would hide a missing build step).
import { spawnSync } from 'node:child_process';
import { existsSync } from 'node:fs';

const program = process.argv[2];
if (!existsSync(program)) {
  console.log(`skipped: ${program} has not been built (bash scripts/build-web.sh)`);
  process.exit(process.env.NOLTACE_REQUIRE_DATA ? 1 : 77);
}
const run = spawnSync(process.execPath, [program], { stdio: 'inherit' });
process.exit(run.status ?? 1);
