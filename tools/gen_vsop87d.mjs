#!/usr/bin/env node
// Generator of the VSOP87D series data (Earth, Venus, Mars, Jupiter, Saturn).
//
// Source: the npm package astronomia@4.2.0 (MIT licence), whose files
// data/vsop87D<body>.js carry the complete published VSOP87D series
// (heliocentric spherical variables, mean ecliptic and equinox of date) as
// arrays [A, B, C] per power of tau, in the published order.
//
// Usage (from anywhere; paths are taken relative to this script):
//   node tools/gen_vsop87d.mjs            fetch the package with `npm pack`,
//                                         check it, write the sources below
//   node tools/gen_vsop87d.mjs --check    the same, but write nothing: compare
//                                         with the committed files and exit 1
//                                         on any difference ("verify clean")
//   --tarball FILE                        use a tarball already at hand instead
//                                         of `npm pack` (offline runs)
//
// Writes:
//   series/vsop87d_<body>.cpp      the term tables, one file per body
//   tests/data/vsop87d_reference.txt
//                                  L, B, R evaluated by the package's own
//                                  VSOP87 code, the independent reference of
//                                  the C++ value tests
//
// The build never runs this script: its output is committed.  It needs the
// network only for `npm pack`; the check mode is therefore not part of CTest.
//
// Checks (any failure: a message per mismatch on stderr and exit status 1,
// nothing written):
//   - the text of the data files parses line by line into [A, B, C] rows, and
//     every numeric text converts to the same double as the module's own value;
//   - per series and power: the number of terms, the totals and the number of
//     periodic terms; the position, sign and amplitude of every constant term
//     (frequency 0, phase 0 for plus or 3.14159265359 for minus), and the
//     absence of one where there is none;
//   - every quoted term (first periodic terms, leading terms, second and third
//     terms, last terms), last amplitudes, smallest amplitudes with their
//     positions, out-of-order pairs, frequency extremes, shared and distinct
//     frequencies, and the number of turn-by-turn additions that lifting the
//     negative cosine arguments takes at quoted dates;
//   - invariants: every amplitude positive, every phase in [0, 2 pi), every
//     periodic frequency positive, at most one constant term per power, at most
//     11 decimal places in every value.
//
// Each value is written into the C++ source as the decimal text of the .js
// file itself, so the compiler reads it as the double nearest to the
// published decimal (the same double the package's JavaScript holds).

import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const PACKAGE = 'astronomia@4.2.0';
const TARBALL = 'astronomia-4.2.0.tgz';
const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const COMMAND = 'node tools/gen_vsop87d.mjs';
const BODIES = ['earth', 'venus', 'mars', 'jupiter', 'saturn'];
const VARS = ['L', 'B', 'R'];
const PI_TEXT = '3.14159265359';
const TWO_PI = Math.PI + Math.PI;

// ---------------------------------------------------------------------------
// Published facts the data must match.  Positions count from 1 within a power.
// constants: power -> [position, sign, amplitude] or null (no constant term).
// terms: [power, position, A, B, C] (A, B, C compared as doubles).
// smallest: power -> [amplitude, positions] (positions null: value only).
// lastA: power -> amplitude of the last term.
// firstPeriodic: power -> position of the first periodic term.
// ---------------------------------------------------------------------------
const FACTS = {
  earth: {
    L: {
      counts: [559, 341, 142, 22, 11, 5], total: 1080, periodic: 1074,
      constants: [[1, '+', '1.75347045673'], [1, '+', '6283.31966747491'], [1, '+', '0.0005291887'],
        [2, '+', '0.00000034955'], [1, '-', '0.00000114084'], [1, '-', '0.00000000878']],
      terms: [[0, 2, '0.03341656456', '4.66925680417', '6283.0758499914'],
        [0, 3, '0.00034894275', '4.62610241759', '12566.1516999828'],
        [0, 4, '0.00003417571', '2.82886579606', '3.523118349']],
    },
    B: {
      counts: [184, 99, 49, 11, 5], total: 348, periodic: 346,
      constants: [[61, '-', '0.00000001039'], [44, '+', '0.00000000143'], null, null, null],
    },
    R: {
      counts: [526, 292, 139, 27, 10, 3], total: 997, periodic: 993,
      constants: [[1, '+', '1.00013988799'], [3, '-', '0.00000702215'], [3, '-', '0.00000012341'],
        [3, '+', '0.00000000774'], null, null],
      terms: [[0, 2, '0.01670699626', '3.09846350771', '6283.0758499914']],
    },
    total: 2425, periodic: 2413, maxFrequencyApprox: [327574.5, 0.05],
  },
  venus: {
    L: {
      counts: [367, 215, 70, 9, 5, 5], total: 671, periodic: 665,
      constants: [[1, '+', '3.17614666774'], [1, '+', '10213.52943052898'], [1, '+', '0.00054127076'],
        [3, '+', '0.00000026023'], [1, '-', '0.00000114016'], [1, '-', '0.00000000874']],
      terms: [[0, 2, '0.01353968419', '5.59313319619', '10213.285546211'],
        [0, 3, '0.00089891645', '5.30650048468', '20426.571092422']],
    },
    B: {
      counts: [210, 133, 59, 15, 5, 4], total: 426, periodic: 420,
      constants: [[3, '-', '0.00032814918'], [4, '+', '0.00000199162'], [2, '+', '0.00000281739'],
        [2, '-', '0.00000019952'], [4, '-', '0.00000000214'], [2, '+', '0.00000000039']],
      terms: [[0, 1, '0.05923638472', '0.26702775813', '10213.285546211'],
        [0, 2, '0.00040107978', '1.14737178106', '20426.571092422']],
    },
    R: {
      counts: [330, 180, 63, 7, 3, 2], total: 585, periodic: 580,
      constants: [[1, '+', '0.72334820905'], [3, '-', '0.00000233998'], [3, '+', '0.00000013059'],
        [3, '-', '0.00000000112'], [3, '-', '0.00000000006'], null],
      terms: [[0, 2, '0.00489824185', '4.02151832268', '10213.285546211']],
    },
    total: 1682, periodic: 1665, maxFrequencyApprox: [105461.0, 0.05],
  },
  mars: {
    L: {
      counts: [1217, 686, 310, 129, 36, 15], total: 2393, periodic: 2387,
      constants: [[1, '+', '6.20347711583'], [1, '+', '3340.85627474342'], [2, '+', '0.00054187645'],
        [6, '+', '2.5994e-07'], [1, '-', '1.13969e-06'], [2, '-', '8.68e-09']],
      firstPeriodic: [2, 2, 1, 1, 2, 1],
      terms: [[0, 2, '0.186563681', '5.05037100303', '3340.6124266998'],
        [1, 2, '0.01458227051', '3.60426053609', '3340.6124266998'],
        [2, 1, '0.00058015791', '2.04979463279', '3340.6124266998'],
        [3, 1, '1.482423e-05', '0.44434694876', '3340.6124266998'],
        [4, 2, '2.8725e-07', '5.63662412043', '6681.2248533996'],
        [5, 1, '7.1e-09', '4.04089996521', '6681.2248533996']],
      smallest: [['3.6e-10', null], ['2.4e-10', null], ['1.7e-10', null], ['1.1e-10', null],
        ['7e-11', null], ['1.2e-10', null]],
      amplitudes: [[0, 6, '0.0001061023'], [0, 7, '0.00012315897']],
      firstPeriodicLargest: true,
    },
    B: {
      counts: [441, 287, 130, 41, 11, 5], total: 915, periodic: 909,
      constants: [[3, '+', '0.00289104742'], [2, '-', '0.0001411603'], [2, '-', '4.986799e-05'],
        [2, '+', '4.2611e-07'], [2, '+', '1.3369e-07'], [5, '+', '7e-11']],
      firstPeriodic: [1, 1, 1, 1, 1, 1],
      terms: [[0, 1, '0.03197134986', '3.76832042432', '3340.6124266998'],
        [1, 1, '0.00350068845', '5.36847836211', '3340.6124266998'],
        [2, 1, '0.0001672669', '0.60221392419', '3340.6124266998'],
        [3, 1, '6.06506e-06', '1.98050633529', '3340.6124266998'],
        [4, 1, '1.1334e-07', '3.45724352586', '3340.6124266998'],
        [5, 1, '4.57e-09', '4.86794125358', '3340.6124266998']],
      smallest: [['3.6e-10', null], ['2.3e-10', null], ['1.5e-10', null], ['1.1e-10', null],
        ['1e-10', null], ['7e-11', null]],
      firstPeriodicLargest: true,
    },
    R: {
      counts: [1118, 596, 313, 111, 28, 9], total: 2175, periodic: 2169,
      constants: [[1, '+', '1.53033488276'], [3, '+', '0.000128772'], [6, '-', '5.2396e-07'],
        [6, '-', '4.693e-08'], [9, '+', '1.48e-09'], [9, '-', '1.2e-10']],
      firstPeriodic: [2, 1, 1, 1, 1, 1],
      terms: [[0, 2, '0.14184953153', '3.47971283519', '3340.6124266998'],
        [1, 1, '0.0110743334', '2.0325052495', '3340.6124266998'],
        [2, 1, '0.00044242247', '0.47930603943', '3340.6124266998'],
        [3, 1, '1.113107e-05', '5.14987350142', '3340.6124266998'],
        [4, 1, '1.9552e-07', '3.58211650473', '3340.6124266998'],
        [5, 1, '4.76e-09', '2.47617204701', '6681.2248533996']],
      smallest: [['5.4e-10', null], ['3.5e-10', null], ['2.4e-10', null], ['1.6e-10', null],
        ['1.1e-10', null], ['1.2e-10', null]],
      firstPeriodicLargest: true,
    },
    // additions per call at tau = -0.1, quoted as "about" in thousands
    additionsApprox: { tau: -0.1, L: 270e3, B: 101e3, R: 262e3, relative: 0.01 },
  },
  jupiter: {
    L: {
      counts: [760, 369, 191, 109, 45, 10], total: 1484, periodic: 1478,
      constants: [[1, '+', '0.59954691495'], [1, '+', '529.93480757497'], [3, '+', '0.0003896555'],
        [9, '+', '4.4378e-07'], [3, '-', '1.14019e-06'], [7, '-', '8.45e-09']],
      firstPeriodic: [2, 2, 1, 1, 1, 1],
      terms: [[0, 2, '0.09695898711', '5.06191793105', '529.6909650946'],
        [1, 2, '0.00489741194', '4.22066689928', '529.6909650946'],
        [2, 1, '0.00047233598', '4.32148323554', '7.1135470008'],
        [3, 1, '6.501665e-05', '2.59862880482', '7.1135470008'],
        [4, 1, '6.69483e-06', '0.8528242109', '7.1135470008'],
        [5, 1, '4.9577e-07', '5.25658966184', '7.1135470008'],
        [0, 3, '0.00573610145', '1.44406205976', '7.1135470008'],
        [0, 4, '0.0030638918', '5.41734729976', '1059.3819301892'],
        [0, 760, '7.9e-10', '2.9060220289', '2114.8317071153']],
      lastA: ['7.9e-10', '7.5e-10', '8.6e-10', '7.7e-10', '7.5e-10', '9e-10'],
      smallest: [['7.6e-10', [758]], ['7.2e-10', [367]], ['8.6e-10', [188, 191]], ['7.5e-10', [107]],
        ['7.5e-10', [45]], ['9e-10', [10]]],
      before: [[0, '8.246362e-05', '8.768686e-05']],
    },
    B: {
      counts: [249, 141, 81, 42, 12, 5], total: 530, periodic: 525,
      constants: [[3, '+', '0.00110090358'], [5, '-', '1.694232e-05'], [3, '-', '8.13244e-06'],
        [9, '-', '2.798e-08'], [4, '+', '3.422e-08'], null],
      firstPeriodic: [1, 1, 1, 1, 1, 1],
      terms: [[0, 1, '0.02268615703', '3.55852606718', '529.6909650946'],
        [1, 1, '0.00177351787', '5.70166488486', '529.6909650946'],
        [2, 1, '8.094051e-05', '1.46322843658', '529.6909650946'],
        [3, 1, '2.51624e-06', '3.38087923084', '529.6909650946'],
        [4, 1, '1.505e-07', '4.52956999637', '522.5774180938'],
        [5, 1, '1.445e-08', '0.09198554072', '522.5774180938']],
      lastA: ['9.5e-10', '7.8e-10', '8e-10', '9.8e-10', '1.12e-09', '9.5e-10'],
      smallest: [['7.4e-10', [248]], ['7.2e-10', [139, 140]], ['8e-10', [81]], ['8.8e-10', [41]],
        ['1.12e-09', [12]], ['9.5e-10', [5]]],
    },
    R: {
      counts: [745, 381, 190, 98, 46, 9], total: 1469, periodic: 1464,
      constants: [[1, '+', '5.20887429471'], [5, '+', '0.00041390257'], [11, '-', '4.9792e-06'],
        [8, '-', '8.9729e-07'], [22, '+', '1.697e-08'], null],
      firstPeriodic: [2, 1, 1, 1, 1, 1],
      terms: [[0, 2, '0.2520932702', '3.49108640015', '529.6909650946'],
        [1, 1, '0.01271801596', '2.64937511122', '529.6909650946'],
        [2, 1, '0.00079644833', '1.35865896596', '529.6909650946'],
        [3, 1, '3.519257e-05', '6.05800633846', '529.6909650946'],
        [4, 1, '1.28628e-06', '0.08419309557', '536.8045120954'],
        [5, 1, '1.1188e-07', '4.75249399945', '536.8045120954']],
      lastA: ['5.09e-09', '4.16e-09', '3.78e-09', '5.06e-09', '5.21e-09', '1.033e-08'],
      smallest: [['3.7e-09', [742]], ['3.86e-09', [377]], ['3.78e-09', [190]], ['4.06e-09', [97]],
        ['4.91e-09', [45]], ['1.033e-08', [9]]],
    },
    total: 3483, periodic: 3467,
    functionSmallest: [['L', '7.2e-10', [[1, 367]]], ['B', '7.2e-10', [[1, 139], [1, 140]]],
      ['R', '3.7e-09', [[0, 742]]]],
    minFrequency: ['0.0481841098', [['L', 0, 41]]],
    maxFrequency: ['77734.01845962799', [['L', 1, 342], ['R', 1, 263]]],
    everyList: '529.6909650946', distinctFrequencies: 894,
    additions: [{ tau: -0.2, L: 64541, B: 17331, R: 74359 },
      { tau: (2448976.5 - 2451545) / 365250, L: 2253, B: 615, R: 2612 }],
  },
  saturn: {
    L: {
      counts: [1152, 642, 321, 148, 68, 27], total: 2358, periodic: 2352,
      constants: [[1, '+', '0.87401354029'], [1, '+', '213.54295595986'], [3, '+', '0.00090592251'],
        [38, '-', '3.701e-08'], [6, '-', '1.13953e-06'], [15, '-', '1.007e-08']],
      firstPeriodic: [2, 2, 1, 1, 1, 1],
      terms: [[0, 2, '0.1110765978', '3.96205090194', '213.299095438'],
        [1, 2, '0.01296855005', '1.82820544701', '213.299095438'],
        [2, 1, '0.00116441181', '1.17987850633', '7.1135470008'],
        [3, 1, '0.00016038734', '5.73945377424', '7.1135470008'],
        [4, 1, '1.661894e-05', '3.99826248978', '7.1135470008'],
        [5, 1, '1.23615e-06', '2.25923345732', '7.1135470008'],
        [0, 3, '0.01414150958', '4.58581515873', '7.1135470008'],
        [0, 4, '0.00398379386', '0.52112025957', '206.1855484372'],
        [0, 1152, '7.2e-10', '5.15715918322', '110.1581371096']],
      lastA: ['7.2e-10', '7.9e-10', '7.1e-10', '7.6e-10', '8.8e-10', '1.02e-09'],
      smallest: [['7.2e-10', [1150, 1152]], ['7.5e-10', [637]], ['7.1e-10', [321]], ['7.2e-10', [147]],
        ['8.8e-10', [68]], ['8.9e-10', [26]]],
      amplitudes: [[0, 10, '0.00014906995'], [0, 11, '0.000158203']],
    },
    B: {
      counts: [500, 260, 111, 58, 26, 11], total: 966, periodic: 960,
      constants: [[3, '+', '0.00084745939'], [2, '-', '0.00049478641'], [4, '+', '1.346067e-05'],
        [3, '+', '3.98051e-06'], [4, '-', '1.1844e-07'], [4, '-', '9.67e-09']],
      terms: [
        [0, 1, '0.0433067804', '3.60284428399', '213.299095438'],
        [0, 500, '8.3e-10', '0.11133738383', '402.2191684878'],
        [1, 1, '0.00397554998', '5.33289992556', '213.299095438'],
        [1, 260, '8.7e-10', '2.71469794199', '617.8058857862'],
        [2, 1, '0.00020629977', '0.50482422817', '213.299095438'],
        [2, 111, '7.2e-10', '5.47328223678', '337.732510659'],
        [3, 1, '6.66252e-06', '1.99006340181', '213.299095438'],
        [3, 58, '8.4e-10', '4.10158366806', '224.3447957019'],
        [4, 1, '8.0384e-07', '1.11918414679', '206.1855484372'],
        [4, 26, '1.15e-09', '0.44589613974', '110.2063212194'],
        [5, 1, '7.895e-08', '2.81927558645', '206.1855484372'],
        [5, 11, '8.9e-10', '0.5839686453', '213.299095438']],
      smallest: [['7.2e-10', [499]], ['7.2e-10', [258]], ['7.2e-10', [111]], ['7.7e-10', [56]],
        ['1e-09', [23]], ['8.8e-10', [10]]],
      amplitudes: [[0, 4, '0.00030863357'], [0, 5, '0.00034116063']],
      smallestRange: ['7.2e-10', '1e-09'],
      firstLargest: true, noSharedFrequency: true,
    },
    R: {
      counts: [1205, 639, 342, 157, 64, 28], total: 2435, periodic: 2429,
      constants: [[1, '+', '9.55758135801'], [5, '-', '0.0018626154'], [14, '+', '2.326801e-05'],
        [11, '+', '3.93174e-06'], [25, '-', '9.552e-08'], [22, '+', '1.678e-08']],
      firstPeriodic: [2, 1, 1, 1, 1, 1],
      terms: [
        [0, 2, '0.52921382465', '2.39226219733', '213.299095438'],
        [0, 1205, '7.35e-09', '3.05650026582', '66.9172920411'],
        [1, 1, '0.06182981282', '0.25843515034', '213.299095438'],
        [1, 639, '7.21e-09', '1.62872794201', '2200.5159935946'],
        [2, 1, '0.00436902464', '4.78671673044', '213.299095438'],
        [2, 342, '7.45e-09', '6.22304530635', '1269.4996318895'],
        [3, 1, '0.00020315005', '3.02186626038', '213.299095438'],
        [3, 157, '6.91e-09', '3.13193109668', '56.6223513026'],
        [4, 1, '1.20205e-05', '1.41499446465', '220.4126424388'],
        [4, 64, '7.16e-09', '1.11042181341', '1169.5882514086'],
        [5, 1, '1.28612e-06', '5.91282565136', '220.4126424388'],
        [5, 28, '8.37e-09', '5.04769794123', '124.433415221']],
      smallest: [['6.84e-09', [1201]], ['7.05e-09', [628]], ['6.83e-09', [340]], ['6.91e-09', [157]],
        ['7.16e-09', [64]], ['7.98e-09', [27]]],
      amplitudes: [[0, 116, '1.65707e-06'], [0, 117, '2.30892e-06']],
      smallestRange: ['6.83e-09', '7.98e-09'],
      maxFrequency: ['78263.70942472259', [[0, null]]],
      firstLargest: true, noSharedFrequency: true,
    },
    // facts of the longitude series only
    minFrequencyL: ['0.0481841098', [[0, 38]]],
    maxFrequencyL: ['77837.11123384659', [[0, 1042]]],
    everyListL: '213.299095438', distinctFrequenciesL: 1171,
    functionSmallestL: ['7.1e-10', [[2, 321]]],
    additionsL: [{ tau: -0.2, L: 62440 }, { tau: (2448976.5 - 2451545) / 365250, L: 2202 }],
  },
};

// ---------------------------------------------------------------------------
const failures = [];
function fail(msg) { failures.push(msg); }
function num(text) { return Number(text); }
const sha256 = (buf) => createHash('sha256').update(buf).digest('hex');

function parseArgs(argv) {
  const opts = { check: false, tarball: null };
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--check') opts.check = true;
    else if (argv[i] === '--tarball' && i + 1 < argv.length) opts.tarball = path.resolve(argv[++i]);
    else {
      console.error(`gen_vsop87d: unknown argument '${argv[i]}'`);
      console.error('usage: node tools/gen_vsop87d.mjs [--check] [--tarball astronomia-4.2.0.tgz]');
      process.exit(2);
    }
  }
  return opts;
}

// Fetches (or copies) the tarball into a fresh temporary folder and unpacks it.
function unpack(opts) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'gen_vsop87d-'));
  let tgz;
  if (opts.tarball) {
    tgz = path.join(dir, TARBALL);
    fs.copyFileSync(opts.tarball, tgz);
  } else {
    execFileSync('npm', ['pack', PACKAGE, '--silent'], { cwd: dir, stdio: ['ignore', 'pipe', 'inherit'] });
    tgz = path.join(dir, TARBALL);
  }
  if (!fs.existsSync(tgz)) throw new Error(`gen_vsop87d: ${TARBALL} not found after npm pack`);
  execFileSync('tar', ['xzf', TARBALL], { cwd: dir });
  return { dir, tgz, tgzSha: sha256(fs.readFileSync(tgz)) };
}

// Parses the text of one data file: const m = { L: { "0": [ [A, B, C], ... ], ... }, B: ..., R: ... }.
// Returns { L: [[ [aText, bText, cText], ... ] per power], B: ..., R: ... }.
const NUM = '(\\d+(?:\\.\\d+)?(?:e-?\\d+)?)';
const ROW = new RegExp(`^\\s*\\[${NUM}, ${NUM}, ${NUM}\\],?$`);
function parseText(text, file) {
  const out = {};
  let v = null; let power = null; let expectPower = 0;
  const lines = text.split('\n');
  for (let i = 0; i < lines.length; i++) {
    const line = lines[i];
    const where = `${file}:${i + 1}`;
    let m;
    if (/^const m = \{$/.test(line) || /^\s*$/.test(line)) continue;
    if ((m = /^ {2}([LBR]): \{$/.exec(line))) {
      v = m[1]; out[v] = []; expectPower = 0; continue;
    }
    if ((m = /^ {4}"(\d)": \[$/.exec(line))) {
      if (v === null || Number(m[1]) !== expectPower) fail(`${where}: unexpected power "${m[1]}"`);
      power = Number(m[1]); out[v][power] = []; expectPower++; continue;
    }
    if ((m = ROW.exec(line))) {
      if (v === null || power === null) { fail(`${where}: term outside a power`); continue; }
      out[v][power].push([m[1], m[2], m[3]]); continue;
    }
    if (/^ {4}\],?$/.test(line)) { power = null; continue; }
    if (/^ {2}\},?$/.test(line)) { v = null; continue; }
    if (/^ {2}name: "\w+",$/.test(line) || /^ {2}type: "D"$/.test(line)) continue;
    if (/^\};$/.test(line) || /^export default m;$/.test(line)) continue;
    fail(`${where}: line not understood: ${line.slice(0, 80)}`);
  }
  return out;
}

// The text and the module must hold the same numbers.
function compareWithModule(body, parsed, mod) {
  if (mod.type !== 'D') fail(`${body}: module type is '${mod.type}', not 'D' (equinox of date)`);
  let reprinted = 0;
  for (const v of VARS) {
    const pt = parsed[v] || []; const mt = Object.keys(mod[v] || {});
    if (pt.length !== mt.length) fail(`${body} ${v}: ${pt.length} powers in the text, ${mt.length} in the module`);
    for (let k = 0; k < pt.length; k++) {
      const rows = mod[v][String(k)] || [];
      if (rows.length !== pt[k].length) { fail(`${body} ${v}${k}: count differs between text and module`); continue; }
      for (let i = 0; i < rows.length; i++) {
        for (let j = 0; j < 3; j++) {
          const t = pt[k][i][j];
          if (!Object.is(Number(t), rows[i][j])) fail(`${body} ${v}${k} #${i + 1}: text ${t} is not the module's ${rows[i][j]}`);
          if (String(rows[i][j]) !== t) reprinted++;
        }
      }
    }
  }
  return reprinted;
}

function decimals(text) {
  const m = /^\d+(?:\.(\d+))?(?:e(-?\d+))?$/.exec(text);
  const frac = m[1] ? m[1].length : 0;
  const exp = m[2] ? Number(m[2]) : 0;
  return Math.max(0, frac - exp);
}

const isConst = (t) => t[2] === '0' || Number(t[2]) === 0;

// Turn-by-turn lifting as the series' cosine takes it: additions of pi + pi.
function liftCount(terms, tau) {
  let n = 0;
  for (const t of terms) {
    if (isConst(t)) continue;
    let x = num(t[2]) * tau; x = x + num(t[1]);
    while (x < 0) { x = x + TWO_PI; n++; }
  }
  return n;
}
const allTerms = (series) => series.flat();

function checkSeries(body, v, series, f) {
  const name = `${body} ${v}`;
  if (series.length !== f.counts.length) fail(`${name}: ${series.length} powers, expected ${f.counts.length}`);
  let total = 0; let periodic = 0;
  for (let k = 0; k < series.length; k++) {
    const terms = series[k]; const pk = `${name}${k}`;
    total += terms.length;
    if (terms.length !== f.counts[k]) fail(`${pk}: ${terms.length} terms, expected ${f.counts[k]}`);
    const consts = [];
    terms.forEach((t, i) => {
      const [a, b, c] = t.map(num);
      for (const s of t) if (decimals(s) > 11) fail(`${pk} #${i + 1}: ${s} has more than 11 decimals`);
      if (!(a > 0)) fail(`${pk} #${i + 1}: amplitude ${t[0]} not positive`);
      if (!(b >= 0 && b < TWO_PI)) fail(`${pk} #${i + 1}: phase ${t[1]} outside [0, 2 pi)`);
      if (c === 0) {
        consts.push(i + 1);
        if (!(t[1] === '0' || t[1] === PI_TEXT)) fail(`${pk} #${i + 1}: constant term with phase ${t[1]}`);
      } else if (!(c > 0)) fail(`${pk} #${i + 1}: frequency ${t[2]} not positive`);
      else periodic++;
    });
    const want = f.constants[k];
    if (consts.length > 1) fail(`${pk}: ${consts.length} constant terms`);
    if (want === null || want === undefined) {
      if (consts.length !== 0) fail(`${pk}: constant term at ${consts[0]}, expected none`);
    } else {
      const [pos, sign, amp] = want;
      if (consts.length !== 1 || consts[0] !== pos) fail(`${pk}: constant term at ${consts.join(',') || 'none'}, expected ${pos}`);
      const t = terms[pos - 1];
      if (t) {
        const s = t[1] === '0' ? '+' : '-';
        if (s !== sign) fail(`${pk}: constant term sign ${s}, expected ${sign}`);
        if (num(t[0]) !== num(amp)) fail(`${pk}: constant term ${t[0]}, expected ${amp}`);
      }
    }
    if (f.firstPeriodic) {
      const first = terms.findIndex((t) => !isConst(t)) + 1;
      if (first !== f.firstPeriodic[k]) fail(`${pk}: first periodic term at ${first}, expected ${f.firstPeriodic[k]}`);
    }
    if (f.lastA && terms.length && num(terms[terms.length - 1][0]) !== num(f.lastA[k])) {
      fail(`${pk}: last amplitude ${terms[terms.length - 1][0]}, expected ${f.lastA[k]}`);
    }
    if (f.smallest && terms.length) {
      const [val, positions] = f.smallest[k];
      const min = Math.min(...terms.map((t) => num(t[0])));
      if (min !== num(val)) fail(`${pk}: smallest amplitude ${min}, expected ${val}`);
      if (positions) {
        const at = terms.map((t, i) => (num(t[0]) === min ? i + 1 : 0)).filter((p) => p);
        if (at.join(',') !== positions.join(',')) fail(`${pk}: smallest amplitude at ${at}, expected ${positions}`);
      }
    }
    if (f.smallestRange && terms.length) {
      const min = Math.min(...terms.map((t) => num(t[0])));
      if (min < num(f.smallestRange[0]) || min > num(f.smallestRange[1])) fail(`${pk}: smallest amplitude ${min} outside the quoted range`);
    }
    if (f.firstPeriodicLargest) {
      const per = terms.filter((t) => !isConst(t)); const firstA = num(per[0][0]);
      if (per.some((t) => num(t[0]) > firstA)) fail(`${pk}: first periodic term is not the largest periodic one`);
    }
    if (f.firstLargest) {
      const firstA = num(terms[0][0]);
      if (terms.some((t) => num(t[0]) > firstA)) fail(`${pk}: first term is not the largest`);
    }
    if (f.noSharedFrequency) {
      const cs = terms.filter((t) => !isConst(t)).map((t) => num(t[2]));
      if (new Set(cs).size !== cs.length) fail(`${pk}: two periodic terms share a frequency`);
    }
  }
  if (total !== f.total) fail(`${name}: ${total} terms, expected ${f.total}`);
  if (periodic !== f.periodic) fail(`${name}: ${periodic} periodic terms, expected ${f.periodic}`);
  for (const [k, pos, a, b, c] of f.terms || []) {
    const t = series[k] && series[k][pos - 1];
    if (!t) { fail(`${name}${k} #${pos}: no such term`); continue; }
    if (num(t[0]) !== num(a) || num(t[1]) !== num(b) || num(t[2]) !== num(c)) {
      fail(`${name}${k} #${pos}: (${t.join(', ')}), expected (${a}, ${b}, ${c})`);
    }
  }
  for (const [k, pos, a] of f.amplitudes || []) {
    const t = series[k] && series[k][pos - 1];
    if (!t || num(t[0]) !== num(a)) fail(`${name}${k} #${pos}: amplitude ${t && t[0]}, expected ${a}`);
  }
  for (const [k, a1, a2] of f.before || []) {
    const i1 = series[k].findIndex((t) => num(t[0]) === num(a1));
    const i2 = series[k].findIndex((t) => num(t[0]) === num(a2));
    if (i1 < 0 || i2 < 0 || !(i1 < i2) || !(num(a1) < num(a2))) fail(`${name}${k}: ${a1} does not stand before ${a2}`);
  }
  if (f.maxFrequency) {
    const [val] = f.maxFrequency;
    const k = f.maxFrequency[1][0][0];
    const max = Math.max(...series[k].map((t) => num(t[2])));
    const all = Math.max(...allTerms(series).map((t) => num(t[2])));
    if (max !== num(val) || all !== num(val)) fail(`${name}: largest frequency ${all}, expected ${val} in power ${k}`);
  }
}

// Where a frequency value occurs, as [var, power, position] over the given variables.
function occurrences(data, vars, pred) {
  const at = [];
  for (const v of vars) {
    data[v].forEach((terms, k) => terms.forEach((t, i) => { if (!isConst(t) && pred(num(t[2]))) at.push([v, k, i + 1]); }));
  }
  return at;
}
const fmtAt = (at) => at.map((a) => a.join(' ')).join('; ');
// Every quoted place is one where the value occurs (the value may recur elsewhere:
// Saturn's smallest longitude frequency stands in L0 and in L1).
const within = (want, at) => want.every((w) => at.some((a) => a.join(' ') === w.join(' ')));

function checkBody(body, data) {
  const f = FACTS[body];
  for (const v of VARS) checkSeries(body, v, data[v], f[v]);
  const terms = VARS.flatMap((v) => allTerms(data[v]));
  const periodic = terms.filter((t) => !isConst(t));
  if (f.total !== undefined && terms.length !== f.total) fail(`${body}: ${terms.length} terms, expected ${f.total}`);
  if (f.periodic !== undefined && periodic.length !== f.periodic) fail(`${body}: ${periodic.length} periodic, expected ${f.periodic}`);
  if (f.maxFrequencyApprox) {
    const max = Math.max(...periodic.map((t) => num(t[2])));
    if (Math.abs(max - f.maxFrequencyApprox[0]) > f.maxFrequencyApprox[1]) fail(`${body}: largest frequency ${max}, quoted ${f.maxFrequencyApprox[0]}`);
  }
  const freqFacts = (vars, minF, maxF, every, distinct) => {
    const per = vars.flatMap((v) => allTerms(data[v])).filter((t) => !isConst(t)).map((t) => num(t[2]));
    if (minF) {
      const min = Math.min(...per); const at = occurrences(data, vars, (c) => c === min);
      const want = minF[1].map((a) => (a.length === 3 ? a : [vars[0], ...a]));
      if (min !== num(minF[0]) || !within(want, at)) fail(`${body}: smallest frequency ${min} at ${fmtAt(at)}, expected ${minF[0]} at ${fmtAt(want)}`);
    }
    if (maxF) {
      const max = Math.max(...per); const at = occurrences(data, vars, (c) => c === max);
      const want = maxF[1].map((a) => (a.length === 3 ? a : [vars[0], ...a]));
      if (max !== num(maxF[0]) || !within(want, at)) fail(`${body}: largest frequency ${max} at ${fmtAt(at)}, expected ${maxF[0]} at ${fmtAt(want)}`);
    }
    if (every) {
      for (const v of vars) {
        data[v].forEach((ts, k) => { if (!ts.some((t) => num(t[2]) === num(every))) fail(`${body} ${v}${k}: frequency ${every} missing`); });
      }
    }
    if (distinct !== undefined && new Set(per).size !== distinct) fail(`${body}: ${new Set(per).size} distinct frequencies, expected ${distinct}`);
  };
  const smallestOf = (v, val, want) => {
    const amps = allTerms(data[v]).map((t) => num(t[0]));
    const min = Math.min(...amps);
    const at = [];
    data[v].forEach((ts, k) => ts.forEach((t, i) => { if (num(t[0]) === min) at.push([k, i + 1]); }));
    if (min !== num(val) || fmtAt(at) !== fmtAt(want)) fail(`${body} ${v}: smallest amplitude ${min} at ${fmtAt(at)}, expected ${val} at ${fmtAt(want)}`);
  };
  const additions = (list, vars) => {
    for (const a of list) {
      for (const v of vars) {
        const n = liftCount(allTerms(data[v]), a.tau);
        if (n !== a[v]) fail(`${body} ${v}: ${n} additions at tau ${a.tau}, expected ${a[v]}`);
      }
    }
  };
  if (body === 'jupiter') {
    freqFacts(VARS, f.minFrequency, f.maxFrequency, f.everyList, f.distinctFrequencies);
    for (const [v, val, at] of f.functionSmallest) smallestOf(v, val, at);
    additions(f.additions, VARS);
  }
  if (body === 'saturn') {
    freqFacts(['L'], f.minFrequencyL, f.maxFrequencyL, f.everyListL, f.distinctFrequenciesL);
    smallestOf('L', f.functionSmallestL[0], f.functionSmallestL[1]);
    additions(f.additionsL, ['L']);
  }
  if (f.additionsApprox) {
    const a = f.additionsApprox;
    for (const v of VARS) {
      const n = liftCount(allTerms(data[v]), a.tau);
      if (Math.abs(n - a[v]) > a.relative * a[v]) fail(`${body} ${v}: ${n} additions at tau ${a.tau}, quoted about ${a[v]}`);
    }
  }
}

// ---------------------------------------------------------------------------
const NAMES = { earth: 'the Earth', venus: 'Venus', mars: 'Mars', jupiter: 'Jupiter', saturn: 'Saturn' };

function cppSource(body, data, tgzSha, fileSha) {
  const out = [];
  out.push(`// VSOP87D series of ${NAMES[body]}: heliocentric longitude L, latitude B and`);
  out.push('// radius vector R, mean ecliptic and equinox of date, every term (A, B, C)');
  out.push('// per power of tau in the published order.');
  out.push('//');
  out.push('// GENERATED FILE, do not edit.  Regenerate with:');
  out.push(`//   ${COMMAND}`);
  out.push(`// Source: npm package ${PACKAGE} (MIT licence), file package/data/vsop87D${body}.js`);
  out.push(`//   sha256 of ${TARBALL}: ${tgzSha}`);
  out.push(`//   sha256 of vsop87D${body}.js: ${fileSha}`);
  out.push('// Each number is the decimal text of the source file, so it reads back as');
  out.push('// the double nearest to the published value.  A constant term has frequency');
  out.push('// 0 and phase 0 (added) or 3.14159265359 (subtracted).');
  out.push('');
  out.push('#include "vsop87d_tables.h"');
  out.push('');
  out.push('namespace {');
  for (const v of VARS) {
    data[v].forEach((terms, k) => {
      out.push('');
      out.push(`const VsopTerm ${v}${k}[] = {`);
      for (const t of terms) out.push(`    {${t[0]}, ${t[1]}, ${t[2]}},`);
      out.push('};');
    });
  }
  out.push('');
  out.push('}  // namespace');
  for (const v of VARS) {
    const powers = data[v].map((terms, k) => `{${v}${k}, ${terms.length}}`);
    out.push('');
    out.push(`extern const VsopSeries vsop87d_${body}_${v} = {`);
    out.push(`    {${powers.join(', ')}},`);
    out.push(`    ${data[v].length},`);
    out.push('};');
  }
  return `${out.join('\n')}\n`;
}

// Reference values from the package's own VSOP87 code.  Planet.position(jde)
// of a type-D series returns the raw series, equinox and ecliptic of date:
// L reduced into [0, 2 pi) by a remainder, B, R (position2000 would precess
// them to J2000).  Its sums run from the last term to the first and the powers
// are combined by Horner's scheme, so it agrees with the table order only
// within rounding.
// Julian ephemeris days of the reference dates: the beginnings of Julian
// years counted from J2000.0 (-700 to 3500, the span of the Delta-T model,
// tau from -2.7 to +1.5), and 1992 December 20, 0h TT.
const REF_YEARS = [-700, -300, 1, 500, 1000, 1500, 1800, 1900, 2000, 2024, 2500, 3000, 3500];
const REF_JDE = [...REF_YEARS.map((y) => 2451545.0 + (y - 2000) * 365.25), 2448976.5].sort((a, b) => a - b);
const fmt17 = (x) => x.toExponential(16);

async function referenceText(pkgDir, tgzSha) {
  const { Planet } = await import(pathToFileURL(path.join(pkgDir, 'src', 'planetposition.js')).href);
  const lines = [];
  lines.push('# VSOP87D reference values: jde tau body L B R');
  lines.push('# jde: Julian ephemeris day; tau = ((jde - 2451545) / 36525) * 0.1 as the reference code forms it;');
  lines.push('# L (radians, reduced into [0, 2 pi)), B (radians), R (astronomical units), all 17 significant digits,');
  lines.push('# mean ecliptic and equinox of date, from Planet.position() of the independent VSOP87 code of');
  lines.push(`# npm package ${PACKAGE} (MIT licence) over its own copy of the series; sha256 of ${TARBALL}:`);
  lines.push(`# ${tgzSha}`);
  lines.push(`# GENERATED FILE, do not edit.  Regenerate with: ${COMMAND}`);
  for (const body of BODIES) {
    const mod = await import(pathToFileURL(path.join(pkgDir, 'data', `vsop87D${body}.js`)).href);
    const planet = new Planet(mod.default);
    for (const jde of REF_JDE) {
      const tau = ((jde - 2451545.0) / 36525) * 0.1;
      const p = planet.position(jde);
      lines.push([jde.toFixed(2), fmt17(tau), body, fmt17(p.lon), fmt17(p.lat), fmt17(p.range)].join(' '));
    }
  }
  return `${lines.join('\n')}\n`;
}

// ---------------------------------------------------------------------------
async function main() {
  const opts = parseArgs(process.argv.slice(2));
  const { dir, tgzSha } = unpack(opts);
  const pkgDir = path.join(dir, 'package');
  const outputs = new Map();
  const summary = [];
  for (const body of BODIES) {
    const file = path.join(pkgDir, 'data', `vsop87D${body}.js`);
    const text = fs.readFileSync(file);
    const data = parseText(text.toString('utf8'), `vsop87D${body}.js`);
    const mod = (await import(pathToFileURL(file).href)).default;
    const reprinted = compareWithModule(body, data, mod);
    for (const v of VARS) if (!data[v]) fail(`${body}: no series ${v}`);
    if (VARS.every((v) => data[v])) checkBody(body, data);
    const n = VARS.reduce((s, v) => s + (data[v] ? allTerms(data[v]).length : 0), 0);
    summary.push(`${body}: ${n} terms, ${reprinted} numbers whose text differs from JavaScript's reprint (text kept)`);
    outputs.set(path.join('series', `vsop87d_${body}.cpp`), cppSource(body, data, tgzSha, sha256(text)));
  }
  outputs.set(path.join('tests', 'data', 'vsop87d_reference.txt'), await referenceText(pkgDir, tgzSha));
  fs.rmSync(dir, { recursive: true, force: true });

  if (failures.length) {
    console.error(`gen_vsop87d: FAILED, ${failures.length} mismatch(es) between ${PACKAGE} and the published series:`);
    for (const f of failures) console.error(`  ${f}`);
    process.exit(1);
  }
  for (const s of summary) console.log(`gen_vsop87d: ${s}`);
  console.log('gen_vsop87d: every count, constant term, quoted term and invariant checked: all agree');

  if (opts.check) {
    let dirty = 0;
    for (const [rel, content] of outputs) {
      const p = path.join(ROOT, rel);
      const old = fs.existsSync(p) ? fs.readFileSync(p, 'utf8') : null;
      if (old !== content) { console.error(`gen_vsop87d: ${rel} differs from what the generator writes`); dirty++; }
    }
    if (dirty) { console.error(`gen_vsop87d: --check FAILED, ${dirty} file(s) not clean`); process.exit(1); }
    console.log(`gen_vsop87d: --check: all ${outputs.size} generated files are clean`);
    return;
  }
  for (const [rel, content] of outputs) {
    const p = path.join(ROOT, rel);
    fs.mkdirSync(path.dirname(p), { recursive: true });
    fs.writeFileSync(p, content);
    console.log(`gen_vsop87d: wrote ${rel}`);
  }
}

main().catch((e) => { console.error(`gen_vsop87d: FAILED: ${e.stack || e}`); process.exit(1); });
