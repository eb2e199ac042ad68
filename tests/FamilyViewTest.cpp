// What the Family tab shows of a person: box texts with their fallbacks,
// the marriage button, the children with their marks, and links that name
// no record.
#include "views/FamilyView.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

namespace kinmap {
namespace {

class FamilyViewTest : public test::ImportFixture {};

TEST_F(FamilyViewTest, BoxesButtonAndChildrenSayWhatTheRecordsHold)
{
    ASSERT_TRUE(importText("0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 CHR\n2 DATE 1870\n2 PLAC Ulm\n"
                           "1 BURI\n2 DATE 5 MAY 1930\n2 PLAC Bonn\n1 FAMS @F1@\n1 FAMS @F2@\n"
                           "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 BIRT\n2 PLAC Köln\n1 FAMS @F1@\n"
                           "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1895\n1 DEAT\n2 DATE 1944\n"
                           "1 FAMC @F1@\n1 FAMS @F3@\n"
                           "0 @I4@ INDI\n1 NAME Karl /Berg/\n1 SEX M\n1 FAMC @F1@\n1 FAMS @F4@\n"
                           "0 @I5@ INDI\n1 NAME Ida /Berg/\n1 SEX F\n1 FAMC @F1@\n"
                           "0 @I6@ INDI\n1 NAME Tom /Berg/\n1 SEX M\n1 FAMC @F3@\n"
                           "0 @I7@ INDI\n1 NAME Lea /Lenz/\n1 SEX F\n1 FAMS @F2@\n1 FAMS @F4@\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 12 JUN 1893\n"
                           "1 CHIL @I3@\n1 CHIL @I4@\n1 CHIL @I5@\n"
                           "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I7@\n0 @F3@ FAM\n1 HUSB @I3@\n1 CHIL @I6@\n"
                           "0 @F4@ FAM\n1 HUSB @I4@\n1 WIFE @I7@\n0 TRLR\n"));
    int familyIndex = 0, parentsIndex = 3;
    FamilyPicture picture = familyPicture(db, 1, familyIndex, parentsIndex);
    EXPECT_EQ(parentsIndex, 0); // moved into range
    EXPECT_EQ(picture.person.text, " Hans Berg \r\n ~1870 - Ulm\r\n _5 MAY 1930 - Bonn");
    EXPECT_EQ(picture.spouse.text, " Eva Roth \r\n - Köln\r\n ");
    EXPECT_EQ(picture.father.id, emptyFather);
    EXPECT_EQ(picture.mother.id, emptyMother);
    EXPECT_FALSE(picture.moreParents);
    EXPECT_EQ(picture.marriageText, "1.Marriage: 12 JUN 1893");
    ASSERT_EQ(picture.children.size(), 3u);
    // "." a family of one's own, ".." one with children.
    EXPECT_EQ(picture.children[0].text, "1  Kurt Berg\t*1895\t+1944\t..");
    EXPECT_EQ(picture.children[1].text, "2  Karl Berg\t\t\t.");
    EXPECT_EQ(picture.children[2].text, "3  Ida Berg\t\t\t");

    familyIndex = 7;
    picture = familyPicture(db, 1, familyIndex, parentsIndex);
    EXPECT_EQ(familyIndex, 1);
    EXPECT_EQ(picture.marriageText, "2.Marriage: ");
    EXPECT_EQ(picture.spouse.id, 7);
    EXPECT_TRUE(picture.children.empty());

    // Links to records that are not there count as absent.
    db.families[1].wife = 5000;
    *db.families[1].children.begin() = -4;
    *db.persons[1].fams.begin() = 90000;
    familyIndex = 0;
    picture = familyPicture(db, 1, familyIndex, parentsIndex);
    EXPECT_EQ(picture.family, 0);
    EXPECT_EQ(picture.spouse.id, emptySpouse);
    EXPECT_EQ(picture.marriageText, "1.Marriage: ");
    familyIndex = 0;
    picture = familyPicture(db, 2, familyIndex, parentsIndex);
    EXPECT_EQ(picture.spouse.id, 1);
    ASSERT_EQ(picture.children.size(), 2u);
    EXPECT_EQ(picture.children[0].text, "1  Karl Berg\t\t\t.");
    picture = familyPicture(db, 9999, familyIndex, parentsIndex);
    EXPECT_EQ(picture.person.id, 0);
}

} // namespace
} // namespace kinmap
