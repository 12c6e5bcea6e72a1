// A `pillar serve` on a free port and Debian's chromium in a fresh profile,
// both ended by their own handles; shared by the browser tests, the
// screenshots and the load benchmark.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

export const CHROMIUM_ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Starts `pillar serve` on a port the system picks; resolves to {url, stop}.
export function startServer(pillar) {
  return new Promise((resolve, reject) => {
    const server = spawn(pillar, ['serve', '--listen', '127.0.0.1:0'], { stdio: ['ignore', 'ignore', 'pipe'] });
    let said = '';
    const timer = setTimeout(() => reject(new Error(`pillar serve said nothing useful: ${said}`)), 10000);
    server.on('error', reject);
    server.stderr.on('data', (chunk) => {
      said += chunk;
      const m = /serving on (http:\/\/[^\s]+?)\/?\s/u.exec(said);
      if (m) {
        clearTimeout(timer);
        const stop = () => new Promise((done) => {
          if (server.exitCode !== null) return done();
          server.once('exit', done);
          server.kill('SIGTERM');
        });
        resolve({ url: m[1], stop });
      }
    });
  });
}

// chromium with a profile of its own in a temporary folder.
export async function startBrowser(options = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'pillar-page-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: CHROMIUM_ARGS,
    headless: true,
    locale: 'zh-CN',
    timezoneId: 'Asia/Shanghai',
    viewport: { width: 1280, height: 900 },
    ...options,
  });
  const stop = async () => {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { context, stop };
}
