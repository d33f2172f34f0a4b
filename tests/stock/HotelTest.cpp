// Hotel data of a Mirkado 4 company: keys kept, generators moved past them, the ten tables in their order.
#include "StockFixture.h"

using namespace stocktest;

TEST_F(MirkadoRun, HotelRowsKeepTheirKeysAndTheTargetGeneratorsFollowTheSource) {
    execSql(sourceDb(),
            "INSERT INTO RESERVASYON (BLRZVKODU, BLODAKODU, ODANO, GIRISTARIHI, GIRISSAATI, GECELIKUCRET, YETISKIN) "
            "VALUES (17, 3, '101', '2004-07-01', '14:30:00', 85.5, 2);"
            "INSERT INTO FOLIO (BLFLKODU, BLRZVKODU, TARIH, ACIKLAMA, TUTAR) VALUES (5, 17, '2004-07-02', "
            "'Minibar', 12.75);"
            "INSERT INTO MUSTERI (BILMUSKODU, ADI, SOYADI) VALUES (30, " + lit(w("Şükrü")) + ", 'Kaya');"
            "INSERT INTO MUSTERI (BILMUSKODU, ADI) VALUES (31, 'Ali');"
            "INSERT INTO ODAKAYIT (BLODAKODU, ODAADI, ODATIPI) VALUES (3, '101', 'DBL');"
            "INSERT INTO ODABAKIM (BLOBKODU, ARIZA, BLODAKODU) VALUES (8, 'Klima', 3);"
            "SET GENERATOR FOLIO_GEN TO 40;"
            "SET GENERATOR KISI_GEN TO 9;"
            "SET GENERATOR REZERVASYON_GEN TO 17;"
            "SET GENERATOR MUSTERI_GEN TO 31");
    execSql(templateDb(), "SET GENERATOR FOLIO_GEN TO 3");
    up.options.CheckOTEL = true;
    runCompleted();

    auto reservation = select("RESERVASYON", {"BLRZVKODU", "BLODAKODU", "ODANO", "GIRISTARIHI", "GIRISSAATI",
                                              "GECELIKUCRET", "YETISKIN", "ACIKLAMA"});
    ASSERT_EQ(reservation.size(), 1u);
    EXPECT_EQ(db::asFloat(reservation[0]["BLRZVKODU"]), 17);
    EXPECT_EQ(db::asFloat(reservation[0]["BLODAKODU"]), 3);
    EXPECT_EQ(db::asDate(reservation[0]["GIRISTARIHI"]), (db::Date{2004, 7, 1}));
    EXPECT_EQ(db::asTime(reservation[0]["GIRISSAATI"]), (db::Time{14, 30, 0, 0}));
    EXPECT_EQ(db::asFloat(reservation[0]["GECELIKUCRET"]), 85.5);
    EXPECT_EQ(db::asInteger(reservation[0]["YETISKIN"]), 2);
    EXPECT_TRUE(db::isNull(reservation[0]["ACIKLAMA"]));
    // The folio still designates its reservation, the maintenance record its room.
    EXPECT_EQ(db::asString(scalar(targetDb(), "SELECT R.ODANO FROM FOLIO F JOIN RESERVASYON R "
                                              "ON R.BLRZVKODU = F.BLRZVKODU WHERE F.BLFLKODU = 5")),
              "101");
    EXPECT_EQ(db::asString(scalar(targetDb(), "SELECT O.ODAADI FROM ODABAKIM B JOIN ODAKAYIT O "
                                              "ON O.BLODAKODU = B.BLODAKODU WHERE B.BLOBKODU = 8")),
              "101");
    EXPECT_EQ(db::asFloat(scalar(targetDb(), "SELECT TUTAR FROM FOLIO")), 12.75);
    EXPECT_EQ(db::asString(scalar(targetDb(), "SELECT ADI FROM MUSTERI WHERE BILMUSKODU = 30")), w("Şükrü"));
    EXPECT_EQ(count(targetDb(), "MUSTERI"), 2);

    auto generator = [&](const std::string& name) {
        return db::asInt64(scalar(targetDb(), "SELECT GEN_ID(" + name + ", 0) FROM RDB$DATABASE"));
    };
    EXPECT_EQ(generator("FOLIO_GEN"), 43) << "a target generator at 3 moves on by the source's 40";
    EXPECT_EQ(generator("KISI_GEN"), 9) << "an empty table still moves its generator";
    EXPECT_EQ(generator("REZERVASYON_GEN"), 17);
    EXPECT_EQ(generator("MUSTERI_GEN"), 31);
    EXPECT_EQ(generator("DONEM_GEN"), 0);

    const std::vector<std::string> texts = {
        "Otel Folioları Aktarılıyor",      "Folio Harcamaları Aktarılıyor", "Odada Kalanlar Aktarılıyor",
        "Müşteri Kartları Aktarılıyor",    "Oda Bakım Kayıtları Aktarılıyor", "Oda Kayıtları Aktarılıyor",
        "Oda Tipleri Aktarılıyor",         "Oda Tarifeleri Aktarılıyor",    "Otel Rezervasyonları Aktarılıyor",
        "Otel Dönemleri Aktarılıyor"};
    ASSERT_GE(op.progressTexts.size(), texts.size());
    EXPECT_EQ(std::vector<std::string>(op.progressTexts.end() - 10, op.progressTexts.end()), texts);
    ASSERT_GE(op.progressMaxima.size(), 10u);
    EXPECT_EQ(std::vector<int>(op.progressMaxima.end() - 10, op.progressMaxima.end()),
              (std::vector<int>{1, 0, 0, 2, 1, 1, 0, 0, 1, 0}));
}
