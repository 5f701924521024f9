#!/bin/bash
# The robust Bayesian procedure's tuning sweep: every population without and with slips,
# one CSV row each (psychometric, the same with slips, own-spread, ...), for a build with
# robust-bayes-tuning.patch applied, which reads the spread's prior from EXP_MED and
# EXP_SD, the probability stop rule from EXP_P and the information placement from EXP_INFO.
#   git apply docs/tuning/robust-bayes-tuning.patch && cmake --build --preset dev -j2
#   EXP_MED=.07 EXP_SD=.4 docs/tuning/sweep.sh --width .15 --lapse .06
# Leave the patch out of commits: git apply -R docs/tuning/robust-bayes-tuning.patch
set -e
sim=${SIM:-build/dev/src/limenta-sim}
for model in psychometric own-spread variable; do
    for slips in 0 .03; do
        "$sim" simulate --threads 2 --method bayes-robust --model "$model" \
            --false-positive "$slips" --false-negative "$slips" --csv "$@" | tail -n +2
    done
done
