// A Node.js `http` server computing a chart with lunar-javascript (four
// pillars and the luck pillars) for GET /api/v1/chart?datetime=...&sex=...,
// the peer of `pillar serve` in bench/http/run.sh. Not part of the build:
//   npm install --prefix /tmp/node-bench lunar-javascript
//   NODE_PATH=/tmp/node-bench/node_modules node bench/http/node_chart_server.js PORT
const http = require('http');
const { Solar } = require('lunar-javascript');

const port = Number(process.argv[2] || 8083);
http.createServer((request, response) => {
  const url = new URL(request.url, 'http://localhost');
  const match = /^(\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2})$/.exec(url.searchParams.get('datetime') || '');
  if (url.pathname !== '/api/v1/chart' || !match) {
    response.writeHead(400, { 'Content-Type': 'application/json' });
    response.end('{"error":"expected /api/v1/chart?datetime=YYYY-MM-DDTHH:MM"}');
    return;
  }
  const [year, month, day, hour, minute] = match.slice(1).map(Number);
  const eightChar = Solar.fromYmdHms(year, month, day, hour, minute, 0).getLunar().getEightChar();
  const luck = eightChar.getYun(url.searchParams.get('sex') === 'female' ? 0 : 1).getDaYun().map((pillar) => ({
    pillar: pillar.getGanZhi(), start_year: pillar.getStartYear(), start_age: pillar.getStartAge(),
  }));
  response.writeHead(200, { 'Content-Type': 'application/json' });
  response.end(JSON.stringify({
    pillars: { year: eightChar.getYear(), month: eightChar.getMonth(), day: eightChar.getDay(), hour: eightChar.getTime() },
    luck,
  }));
}).listen(port, '127.0.0.1');
