-- A journal as Limenta wrote it at version 6: practice runs kept apart, with the threshold they hid.
CREATE TABLE runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, ended TEXT, method TEXT NOT NULL, settings TEXT NOT NULL, estimate REAL, interval_low REAL, interval_high REAL, report TEXT, note TEXT, percents TEXT, m1_distance TEXT, target_distance TEXT, uid TEXT, above_100 INTEGER NOT NULL DEFAULT 0, practice INTEGER NOT NULL DEFAULT 0, true_threshold REAL);
CREATE UNIQUE INDEX runs_by_uid ON runs(uid);
CREATE TABLE answers(id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL REFERENCES runs(id), seq INTEGER NOT NULL, trial INTEGER NOT NULL, fired REAL NOT NULL, answer INTEGER NOT NULL, next REAL NOT NULL, diff REAL NOT NULL, at TEXT NOT NULL, withdrawn_at TEXT, UNIQUE(run_id, seq));
INSERT INTO runs VALUES(1, '2026-11-02T10:00:00+01:00', '2026-11-02T10:03:00+01:00', 'pest', '{"diff_threshold":".45","initial_output":"50","method":"pest","step_size":"7"}', 41.6875, 37.9, 44.6, NULL, 'P-003', '80,100,120', '0', '0', '1e4c5b52-6c1f-4b43-9a55-0b7cf8e1d0aa', 0, 0, NULL);
INSERT INTO answers VALUES(1, 1, 2, 2, 43, 1, 36, 7, '2026-11-02T10:00:20+01:00', NULL);
INSERT INTO answers VALUES(2, 1, 1, 1, 50, 1, 43, 7, '2026-11-02T10:00:10+01:00', NULL);
PRAGMA user_version=6;
