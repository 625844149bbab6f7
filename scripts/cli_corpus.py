#!/usr/bin/env python3
"""Runs zemra-cli over a fixed corpus of token lists (every mechanism, technique and geometry, the
README examples, analyses, fits and failures) and writes every output (standard output and error,
exit status and the files each run wrote) into one text file, so that two builds can be diffed:
  scripts/cli_corpus.py build-release/zemra-cli before.txt tests/data
The computation time of a fit report, which differs from run to run, is masked."""
import os, re, subprocess, sys, tempfile, shutil

cli = os.path.abspath(sys.argv[1]); out = sys.argv[2]
data = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
runs = []
R = runs.append
# README examples
R(['Estart=0.2', 'mech=4', 'SheetOK', 'Save=a.par'])
R(['ComboScan=cycle', 'Simulate', 'FindPeak'])
R(['CheckDigital=0', 'Simulate', 'Export=lsv.csv'])
R(['Simulate', 'PlotSvg=cv.svg'])
R(['Import=WAVE', 'Semi', 'Export=semi.csv'])
R(['CheckDigital=0', 'Simulate', 'AutoFit'])
R(['mech=4', 'Eze(2)=-0.15', 'Simulate', 'AutoSeparate'])
R(['CompId'])
R(['About'])
R(['--help'])
R(['bogus'])
# every mechanism x technique on the digital road, planar, cyclic, with peaks and export
for mech in [1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17]:
    for tech in [1,2,3,4,5]:
        R([f'optTech={tech}', 'TechOK', f'mech={mech}', 'MechOK', 'ComboScan=cycle', 'Simulate', 'FindPeak', 'FindHalfwaveE', 'CompId', 'Export=o.csv', 'Save=o.par'])
# geometries on the digital road
for el in [2,3,4,5,6]:
    for tech in [1,2,3,4,5]:
        R([f'optTech={tech}', 'TechOK', f'optElectrode={el}', 'radius=0.001', 'Simulate', 'FindPeak', 'CompId', 'Export=o.csv'])
# analytical road: mechanisms 1,4,9 x techniques x electrodes 1..8
for mech in [1,4,9]:
    for tech in [1,2,3,4,5]:
        for el in range(1,9):
            R(['CheckDigital=0', f'optTech={tech}', 'TechOK', f'mech={mech}', 'MechOK', f'optElectrode={el}', 'ComboScan=cycle', 'Simulate', 'FindPeak', 'FindHalfwaveE', 'CompId', 'Export=o.csv'])
# steps and ranges
for step in ['0.001', '0.002', '0.01']:
    R(['CheckDigital=0', f'Estep={step}', 'Simulate', 'FindPeak', 'Export=o.csv'])
    R([f'Estep={step}', 'Simulate', 'FindPeak', 'Export=o.csv'])
# output quantities and plot options
for q in ['resistance R', 'conductance Cond', 'surface concentration C']:
    R([f'ComboY={q}', 'OptionOK', 'Simulate', 'Export=o.csv', 'NextCurve', 'Export=p.csv', 'PlotSvg=p.svg'])
R(['overlap=1', 'Simulate', 'Eze(1)=0', 'Simulate', 'Eze(1)=-0.1', 'Simulate', 'FindPeak', 'PlotSvg=p.svg'])
R(['CheckGrid=1', 'CheckXdir=0', "linestyle2(0)=1", 'Simulate', 'PlotSvg=p.svg'])
R(['Yauto=0', 'YmaxText=2e-5', 'YminText=-2e-5', 'Xauto=0', 'OptionOK', 'Simulate', 'PlotSvg=p.svg'])
# noise, charging current, Ru
R(['Noise=5', 'Cdl=1e-5', 'ComboScan=cycle', 'Simulate', 'Export=o.csv'])
R(['Ru=100', 'ComboScan=2 cycles', 'Simulate', 'Export=o.csv'])
R(['CheckDigital=0', 'Noise=2', 'Cdl=2e-6', 'Simulate', 'Export=o.csv'])
# curve commands
R(['Simulate', '1000X', '10Y', 'MinusY', 'Derivative', 'Export=o.csv', 'Integral', 'Export=p.csv'])
R(['Simulate', 'SemiInte', 'Export=o.csv', 'Plot', 'Clear', 'NextCurve'])
# fits
R(['Noise=2', 'Simulate', 'ks(1)=0.01', "CheckFitted(5)=1", "CheckFitted(11)=1", 'AutoFit', 'Export=o.csv'])
R(['mech=7', 'MechOK', 'ComboScan=cycle', 'Simulate', "CheckFitted(14)=1", 'kf(1)=30', 'AutoFit'])
R(['Simulate', 'ManualFit', 'ManualSeparate', 'Export=o.csv'])
# sheet computations
R(['CheckPreCon=1', 'Simulate', 'Save=o.par'])
R(['mech=17', 'MechOK', 'C(3)=1e-3', 'C(4)=1e-3', 'Experimental', 'Save=o.par', 'Simulate'])
R(['mech=5', 'SheetOK', 'kb(1)=0.5', 'Simulate', 'FindPeak'])
R(['optElectrode=5', 'radius=0.01', 'leng=0.2', 'SheetOK', 'Save=o.par'])
R(['TextF=25', 'optTech=5', 'TechOK', 'Simulate', 'Export=o.csv'])
# failures
R(['Estep=0', 'Simulate'])
R(['Estep=abc', 'Simulate'])
R(['D(1)=0', 'Simulate'])
R(['C(1)=0', 'Simulate'])
R(['Import=missing.csv'])
R(['Export=o.csv'])
R(['Save=o.par'])
R(['mech=3'])
R(['NEL(1)=4'])
R(['TextDis=0', 'ComboY=resistance R', 'OptionOK', 'Simulate'])

def run(i, tokens):
    d = tempfile.mkdtemp()
    toks = [t.replace('WAVE', data + '/wave201.csv') if data else t for t in tokens]
    p = subprocess.run([cli] + toks, cwd=d, capture_output=True, text=True, timeout=300)
    s = [f'=== {i}: ' + ' '.join(tokens), '--- exit %d' % p.returncode]
    so = re.sub(r'(Computation time \(s\) =\s*)\S+', r'\1T', p.stdout)
    s += ['--- stdout', so, '--- stderr', p.stderr]
    for f in sorted(os.listdir(d)):
        with open(os.path.join(d, f), 'rb') as fh:
            s += [f'--- file {f}', fh.read().decode('latin-1')]
    shutil.rmtree(d)
    return '\n'.join(s)

with open(out, 'w') as fh:
    for i, t in enumerate(runs):
        fh.write(run(i, t) + '\n')
print(len(runs), 'runs')
