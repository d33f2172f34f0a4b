-- Empty picture database template DBBackup/Resim.Fdb of Selvanto 5.
-- Character set WIN1254. Run statement by statement (tests/support) or through scripts/make-db.sh.

CREATE TABLE RESIM (
  BLRSKODU DOUBLE PRECISION NOT NULL,
  RESIM BLOB SUB_TYPE 0,
  CONSTRAINT PK_RESIM PRIMARY KEY (BLRSKODU)
);
CREATE GENERATOR RESIM_GEN;
