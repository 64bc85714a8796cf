// Times nodejs-polars readCSV on one capture file, a baseline of the load
// benchmark.
//
// Usage: node read_csv_polars.js CAPTURE_FILE
// (nodejs-polars found through NODE_PATH; POLARS_MAX_THREADS sets how many
// threads it reads with)
//
// Prints two numbers on one line: the seconds that readCSV took to load the
// file into a data frame (the measured load), and the seconds that loading
// nodejs-polars took before it (not part of the load, stated beside it).
"use strict";

const start = process.hrtime.bigint();
const polars = require("nodejs-polars");
const imported = process.hrtime.bigint();
const frame = polars.readCSV(process.argv[2]);
const loaded = process.hrtime.bigint();
if (frame.height < 0) process.exit(1);
const seconds = (from, to) => (Number(to - from) / 1e9).toFixed(6);
console.log(`${seconds(imported, loaded)} ${seconds(start, imported)}`);
