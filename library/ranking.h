#pragma once
void loadRanking();
void saveRanking();
// Enters a credit score: sets newRankIndex (10 when not ranked), inserts it and saves the file.
void enterRanking(int creditScore);
